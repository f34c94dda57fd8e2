#!/usr/bin/env bash
# The real program in a window resized to 2048x1536 and to 800x600: the
# picture grows and shrinks with the window (both of its shape), and a click where a world button or a
# block is drawn reaches that button or block. The pointer sprite sits
# under the player's hand. Pictures of flat colours, so each can be told
# apart at any scale.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 2560x1600
copy_runtime "$DATA"
D=$WORK_DIR/data
mkdir -p "$D/gfx/tilesets" "$D/gfx/frontend" "$D/gfx/bkgs" "$D/levels"

# [SECTION] Flat pictures: wall blue, floor grey, kind 4 red, kind 5 green,
# the pointer yellow; a dark background and menu.
# Tile n of the strip is frame n + 1: the wall is frame 2, the floor 3.
tile_colours=(black blue gray60 red lime black black black black black black black black yellow black black)
tiles=()
for i in $(seq 0 15); do
    convert -size 32x32 "xc:${tile_colours[$i]}" "$WORK_DIR/tile$i.png"
    tiles+=("$WORK_DIR/tile$i.png")
done
convert "${tiles[@]}" +append -type TrueColor -orient TopLeft "$D/gfx/tilesets/classic.tga"
convert -size 32x32 xc:gray10 -orient TopLeft "$D/gfx/frontend/bkg.tga"
convert -size 257x103 xc:gray15 -orient TopLeft "$D/gfx/title.tga"
convert -size 64x64 xc:white -size 64x64 xc:gray -size 64x64 xc:white -size 64x64 xc:magenta +append \
    -orient TopLeft "$D/gfx/frontend/gui.tga"
convert -size 256x448 xc:gray20 -orient TopLeft "$D/gfx/frontend/manga.tga"
convert -size 250x125 xc:gray25 -orient TopLeft "$D/gfx/frontend/hvlogo.tga"
convert -size 256x256 xc:gray5 -orient TopLeft "$D/gfx/frontend/woodbox.tga"
convert -size 240x128 xc:gray35 -orient TopLeft "$D/gfx/frontend/lvlcomp.tga"
convert -size 512x384 xc:black -orient TopLeft "$D/gfx/frontend/splash.tga"
for i in 1 2 3 4 5 6; do convert -size 512x384 xc:black -orient TopLeft "$D/gfx/bkgs/$i.tga"; done

# [SECTION] The tutorial's first level: a room with a red block in column 14
# and a green one in column 6, both on the floor of row 9.
level_value() {  # level row column
    local level=$1 r=$2 c=$3
    if [ "$level" != 0 ] || [ "$r" -lt 5 ] || [ "$r" -gt 10 ] || [ "$c" -lt 2 ]; then echo 0; return; fi
    if [ "$r" = 5 ] || [ "$r" = 10 ] || [ "$c" = 2 ] || [ "$c" = 15 ]; then echo 2; return; fi
    if [ "$r" = 9 ] && [ "$c" = 14 ]; then echo 4; return; fi
    if [ "$r" = 9 ] && [ "$c" = 6 ]; then echo 5; return; fi
    echo 3
}
for level in $(seq 0 9); do
    for r in $(seq 0 15); do for c in $(seq 0 15); do level_value "$level" "$r" "$c"; done; done
done >"$D/levels/Tutorial.txt"

# colour_at SHOT X Y: the window pixel's colour as r,g,b in 0 to 255.
colour_at() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# near COLOUR EXPECTED: both r,g,b within 20 of each other.
near() {
    awk -F, -v a="$1" -v b="$2" 'BEGIN { split(a, x, ","); split(b, y, ",");
        for (i = 1; i <= 3; i++) { d = x[i] - y[i]; if (d < -20 || d > 20) exit 1 } }'
}

RED=255,0,0
GREY=153,153,153
YELLOW=255,255,0

# play_at W H: one run of the game in a window of that size.
play_at() {
    local w=$1 h=$2 shot x y c
    cp "$DATA/profile.txt" "$D/profile.txt"
    start_game "$PROGRAM"
    WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
    xdotool windowsize "$WINDOW" "$w" "$h"
    sleep 1
    local size
    size=$(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: //p')
    [ "$size" = "${w}x${h}" ] || fail "the window is $size, not ${w}x${h}"
    press space "$WINDOW"
    sleep 0.5

    # where a layout point is drawn in this window
    wx() { echo $(( ($1 * w + w / 2) / 1024 )); }
    wy() { echo $(( ($1 * h + h / 2) / 768 )); }

    # The pointer sprite is drawn with its corner under the pointer.
    xdotool mousemove --window "$WINDOW" "$(wx 600)" "$(wy 100)"
    sleep 0.5
    shot=$WORK_DIR/pointer-$w.png
    shoot "$WINDOW" "$shot"
    c=$(colour_at "$shot" "$(wx 616)" "$(wy 116)")
    near "$c" "$YELLOW" || fail "${w}x${h}: the pointer sprite is not under the pointer ($c)"

    # World 0's button is drawn at layout (175, 200) to (239, 264).
    click "$WINDOW" "$(wx 207)" "$(wy 232)"
    xdotool mousemove --window "$WINDOW" "$(wx 600)" "$(wy 100)"
    sleep 1
    shot=$WORK_DIR/world-$w.png
    shoot "$WINDOW" "$shot"
    x=$(wx $((384 + 32 * 14 + 16))); y=$(wy $((224 + 32 * 9 + 16)))
    c=$(colour_at "$shot" "$x" "$y")
    near "$c" "$RED" || fail "${w}x${h}: a click on world 0's button did not start it (board shows $c)"

    # The red block in the right-hand column 14, pushed left by a click on it.
    click "$WINDOW" "$x" "$y" 1
    xdotool mousemove --window "$WINDOW" "$(wx 600)" "$(wy 100)"
    sleep 1
    shot=$WORK_DIR/pushed-$w.png
    shoot "$WINDOW" "$shot"
    c=$(colour_at "$shot" "$x" "$y")
    near "$c" "$GREY" || fail "${w}x${h}: the block clicked in column 14 did not move ($c)"
    c=$(colour_at "$shot" "$(wx $((384 + 32 * 13 + 16)))" "$y")
    near "$c" "$RED" || fail "${w}x${h}: the block is not in column 13 after the push ($c)"

    press Escape "$WINDOW"
    sleep 0.3
    press Escape "$WINDOW"
    wait_exit 10 || fail "${w}x${h}: Esc on the menu did not end the game with status 0"
}

play_at 2048 1536
play_at 800 600
echo "PASS: at 2048x1536 and at 800x600 a click on world 0's button starts it and a click on a block in column 14 pushes it"
