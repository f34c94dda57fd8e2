#!/usr/bin/env bash
# The whole flow in the real program under a virtual X server, with
# pictures and a level file the test makes itself so that every photograph
# can be compared with what must be drawn: splash, Space, the menu, world 0,
# a level cleared and its count-down, the next level running out of time,
# "Try Again?", Esc to the menu and Esc to quit.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data
P=$WORK_DIR/pictures
mkdir -p "$P" "$D/gfx/tilesets" "$D/gfx/frontend" "$D/gfx/bkgs" "$D/levels"

# [SECTION] Test pictures: opaque, with structure, every one different.
# ImageMagick marks a TGA top-row-first only when told the orientation.
colours=(gray20 gray30 sienna gray80 red orange yellow green cyan blue purple gray50 black crimson pink white)
tiles=()
for i in $(seq 0 15); do
    convert -size 32x32 "gradient:${colours[$i]}-gray10" -rotate $(( i * 90 )) "$P/tile$i.png"
    tiles+=("$P/tile$i.png")
done
convert "${tiles[@]}" +append -orient TopLeft "$D/gfx/tilesets/classic.tga"
convert -size 32x32 pattern:checkerboard -fill navy -opaque black -orient TopLeft "$D/gfx/frontend/bkg.tga"
convert -size 257x103 gradient:gold-brown -orient TopLeft "$D/gfx/title.tga"
convert -size 64x64 xc:white -size 64x64 xc:gray -size 64x64 xc:lime -size 64x64 xc:magenta +append -orient TopLeft "$D/gfx/frontend/gui.tga"
convert -size 256x448 gradient:pink-purple -orient TopLeft "$D/gfx/frontend/manga.tga"
convert -size 250x125 gradient:teal-white -orient TopLeft "$D/gfx/frontend/hvlogo.tga"
convert -size 256x256 gradient:orange-saddlebrown -orient TopLeft "$D/gfx/frontend/woodbox.tga"
convert -size 240x128 gradient:red-yellow -swirl 90 -orient TopLeft "$D/gfx/frontend/lvlcomp.tga"
convert -size 512x384 gradient:black-gray40 -orient TopLeft "$D/gfx/frontend/splash.tga"
for i in 1 2 3 4 5 6; do convert -size 512x384 "gradient:gray$((10 * i))-black" -orient TopLeft "$D/gfx/bkgs/$i.tga"; done

# [SECTION] The tutorial world's file: level 0 a pair that meets at once,
# level 1 two kinds that never meet, so its clock runs out.
level_value() {  # level row column
    local level=$1 r=$2 c=$3
    if [ "$level" -gt 1 ]; then echo 0; return; fi
    if [ "$r" -lt 5 ] || [ "$r" -gt 9 ] || [ "$c" -lt 3 ] || [ "$c" -gt 12 ]; then echo 0; return; fi
    if [ "$r" = 5 ] || [ "$r" = 9 ] || [ "$c" = 3 ] || [ "$c" = 12 ]; then echo 2; return; fi
    if [ "$r" = 8 ] && [ "$c" = 5 ]; then echo 4; return; fi
    if [ "$r" = 8 ] && [ "$c" = 6 ]; then [ "$level" = 0 ] && echo 4 || echo 7; return; fi
    echo 3
}
for level in $(seq 0 9); do
    for r in $(seq 0 15); do for c in $(seq 0 15); do level_value "$level" "$r" "$c"; done; done
done >"$D/levels/Tutorial.txt"
[ "$(wc -l <"$D/levels/Tutorial.txt")" = 2560 ] || fail "the test level file is not 2560 lines"

# What must be drawn where (window pixels, the game's own layout).
convert "$D/gfx/frontend/bkg.tga" -write mpr:tile +delete -size 96x128 tile:mpr:tile "$P/wallpaper.png"
convert "$D/gfx/tilesets/classic.tga" -crop 32x32+64+0 +repage "$P/floor.png"
convert "$D/gfx/tilesets/classic.tga" -crop 32x32+32+0 +repage "$P/wall.png"
convert "$D/gfx/tilesets/classic.tga" -crop 32x32+96+0 +repage "$P/kind4.png"
convert "$D/gfx/tilesets/classic.tga" -crop 32x32+192+0 +repage "$P/kind7.png"
convert "$D/gfx/frontend/lvlcomp.tga" "$P/banner.png"
convert "$D/gfx/frontend/woodbox.tga" -crop 256x28+0+0 +repage "$P/panel-top.png"

expect_region() {  # shot geometry picture what
    local n
    n=$(region_differs "$1" "$2" "$3")
    [ "$n" = 0 ] || fail "$4: $n pixels of $2 differ from what must be drawn"
}

start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
xdotool mousemove --window "$WINDOW" 5 700
sleep 1

# [SECTION] Splash, Space, the menu
xdotool key --window "$WINDOW" space
sleep 1
shoot "$WINDOW" "$WORK_DIR/menu.png"
expect_region "$WORK_DIR/menu.png" 96x128+928+32 "$P/wallpaper.png" "menu wallpaper"
# The open worlds' buttons are tinted green; a locked world carries the cross.
g0=$(convert "$WORK_DIR/menu.png" -crop 20x20+190+235 +repage -format '%[fx:mean.g-mean.r]' info:)
g1=$(convert "$WORK_DIR/menu.png" -crop 20x20+254+235 +repage -format '%[fx:mean.g-mean.r]' info:)
x10=$(convert "$WORK_DIR/menu.png" -crop 20x20+830+235 +repage -format '%[fx:mean.r+mean.b-2*mean.g]' info:)
awk -v a="$g0" -v b="$g1" -v c="$x10" 'BEGIN { exit !(a > 0.9 && b > 0.7 && b < a && c > 1.5) }' ||
    fail "menu buttons: world 0 $g0, world 1 $g1 (green), world 10 $x10 (the cross)"

# [SECTION] World 0: level 0 clears itself at once; watch for the banner.
click "$WINDOW" 200 230
banner=""
for i in $(seq 40); do
    shoot "$WINDOW" "$WORK_DIR/complete.png"
    if [ "$(region_differs "$WORK_DIR/complete.png" 240x128+480+300 "$P/banner.png")" = 0 ]; then banner=yes; break; fi
    sleep 0.05
done
[ -n "$banner" ] || fail "the level-complete banner never showed at (480, 300)"

# [SECTION] Level 1 runs once the count-down is over: board cells and
# blocks where the level puts them.
for i in $(seq 100); do
    shoot "$WINDOW" "$WORK_DIR/play.png"
    [ "$(region_differs "$WORK_DIR/play.png" 240x128+480+300 "$P/banner.png")" = 0 ] || break
    sleep 0.2
done
sleep 0.5
shoot "$WINDOW" "$WORK_DIR/play.png"
expect_region "$WORK_DIR/play.png" 32x32+$((384 + 32 * 7))+$((224 + 32 * 7)) "$P/floor.png" "floor cell"
expect_region "$WORK_DIR/play.png" 32x32+$((384 + 32 * 3))+$((224 + 32 * 5)) "$P/wall.png" "wall cell"
expect_region "$WORK_DIR/play.png" 32x32+$((384 + 32 * 5))+$((224 + 32 * 8)) "$P/kind4.png" "first block"
expect_region "$WORK_DIR/play.png" 32x32+$((384 + 32 * 6))+$((224 + 32 * 8)) "$P/kind7.png" "second block"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during play"

# [SECTION] Time over: 99 clock units of 101 ticks each.
# At 120 frames a second that is 84 seconds; a software renderer on a busy
# machine may manage only a third of that rate.
over=""
deadline=$(( $(date +%s) + 600 ))
while [ "$(date +%s)" -lt "$deadline" ]; do
    sleep 2
    shoot "$WINDOW" "$WORK_DIR/timeover.png"
    if [ "$(region_differs "$WORK_DIR/timeover.png" 256x28+450+200 "$P/panel-top.png")" = 0 ]; then over=yes; break; fi
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while the clock ran"
done
[ -n "$over" ] || fail "the time-over panel never showed"
# Yes and no buttons, with their marks over them.
y=$(convert "$WORK_DIR/timeover.png" -crop 40x40+502+372 +repage -format '%[fx:mean.g-mean.b]' info:)
n=$(convert "$WORK_DIR/timeover.png" -crop 40x40+612+372 +repage -format '%[fx:mean.r-mean.g]' info:)
awk -v a="$y" -v b="$n" 'BEGIN { exit !(a > 0.5 && b > 0.5) }' || fail "the yes and no buttons are not drawn ($y, $n)"

# "Try Again?" yes: the level runs again.
click "$WINDOW" 520 392
sleep 1
shoot "$WINDOW" "$WORK_DIR/retry.png"
[ "$(region_differs "$WORK_DIR/retry.png" 256x28+450+200 "$P/panel-top.png")" != 0 ] || fail "yes did not start the level again"
expect_region "$WORK_DIR/retry.png" 32x32+$((384 + 32 * 6))+$((224 + 32 * 8)) "$P/kind7.png" "the retried level"

# [SECTION] Esc to the menu, Esc to quit.
xdotool key --window "$WINDOW" Escape
sleep 1
shoot "$WINDOW" "$WORK_DIR/menu2.png"
expect_region "$WORK_DIR/menu2.png" 96x128+928+32 "$P/wallpaper.png" "menu after Esc"
xdotool key --window "$WINDOW" Escape
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
[ "$(head -n 2 "$D/profile.txt" | tr '\n' ' ')" = "1 0 " ] || fail "the profile changed without a finished world"
echo "PASS: splash, menu, play, level complete, time over, retry, Esc, Esc"
