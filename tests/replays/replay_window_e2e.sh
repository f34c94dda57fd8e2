#!/usr/bin/env bash
# tolvane --replay in the real program under a virtual X server: the replay
# plays at the game's own pace, the pointer is drawn where each click lands
# whatever the mouse does, the level-complete banner shows at its end, Esc
# goes to the menu; a replay that cannot be read opens no window at all.
set -u
PROGRAM=$1
DATA=$2
REPLAY=$3
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data
P=$WORK_DIR/pictures
mkdir -p "$P"
# A tileset of flat greys whose pointer (frame 14) is solid magenta, so the
# pointer can be told from anything else on the board, and an opaque banner.
tiles=()
for i in $(seq 0 15); do
    colour=gray$((20 + 4 * i))
    [ "$i" = 13 ] && colour=magenta
    convert -size 32x32 "xc:$colour" "$P/tile$i.png"
    tiles+=("$P/tile$i.png")
done
convert "${tiles[@]}" +append -type TrueColor -orient TopLeft "$D/gfx/tilesets/classic.tga"
convert -size 240x128 gradient:red-yellow -swirl 90 -orient TopLeft "$D/gfx/frontend/lvlcomp.tga"
convert "$D/gfx/frontend/lvlcomp.tga" "$P/banner.png"
convert "$D/gfx/frontend/bkg.tga" -write mpr:tile +delete -size 96x128 tile:mpr:tile "$P/wallpaper.png"

# magenta_at SHOT X Y: whether the 16 by 16 pixels from (X, Y) are the pointer's.
magenta_at() {
    local m
    m=$(convert "$1" -crop "16x16+$2+$3" +repage -format '%[fx:mean.r+mean.b-2*mean.g]' info:)
    awk -v m="$m" 'BEGIN { exit !(m > 1.9) }'
}

# [SECTION] A replay that cannot be shown is refused before any window opens.
printf 'tolvane replay 1\nlevel Tutorial.txt 12\n' >"$WORK_DIR/bad.replay"
(cd "$D" && "$PROGRAM" --replay "$WORK_DIR/bad.replay" >"$WORK_DIR/bad.txt" 2>&1 </dev/null)
status=$?
[ "$status" = 2 ] || fail "a bad replay ended with status $status"
grep -q 'bad.replay:2: expected "level FILE N"' "$WORK_DIR/bad.txt" || fail "a bad replay said: $(cat "$WORK_DIR/bad.txt")"

# [SECTION] The replay, its clicks two seconds later than recorded, so the
# pointer waits where the first one will land long enough to be seen there.
awk '$1 == "click" || $1 == "end" { $2 += 240 } { print }' "$REPLAY" >"$WORK_DIR/shown.replay"
first=$(grep -m1 '^click' "$WORK_DIR/shown.replay")
last=$(grep '^click' "$WORK_DIR/shown.replay" | tail -n1)
end=$(grep '^end' "$WORK_DIR/shown.replay")
(cd "$D" && exec "$PROGRAM" --replay "$WORK_DIR/shown.replay" >"$WORK_DIR/console.txt" 2>&1 </dev/null) &
GAME_PID=$!
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
shown=$(date +%s.%N)
xdotool mousemove --window "$WINDOW" 100 700
pointer=""
for _ in $(seq 100); do
    shoot "$WINDOW" "$WORK_DIR/start.png"
    if magenta_at "$WORK_DIR/start.png" $(awk '{ print $4 + 4, $5 + 4 }' <<<"$first"); then pointer=yes; break; fi
    sleep 0.02
done
[ -n "$pointer" ] || fail "the pointer is never where the first click lands ($first)"

banner=""
for _ in $(seq 300); do
    shoot "$WINDOW" "$WORK_DIR/end.png"
    if [ "$(region_differs "$WORK_DIR/end.png" 240x128+480+300 "$P/banner.png")" = 0 ]; then banner=yes; break; fi
    sleep 0.05
done
[ -n "$banner" ] || fail "the level-complete banner never showed"
took=$(awk -v a="$shown" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
ticks=$(awk '{ print $2 }' <<<"$end")
# No faster than 120 ticks a second.
awk -v t="$took" -v n="$ticks" 'BEGIN { exit !(t >= n / 120.0) }' || fail "$ticks ticks were shown in $took s"
magenta_at "$WORK_DIR/end.png" $(awk '{ print $4 + 4, $5 + 4 }' <<<"$last") ||
    fail "the pointer is not where the last click landed ($last)"
magenta_at "$WORK_DIR/end.png" 104 704 && fail "the mouse's own pointer is drawn during the replay"
# The banner stays: the replay does not go on to another level.
sleep 2
shoot "$WINDOW" "$WORK_DIR/later.png"
[ "$(region_differs "$WORK_DIR/later.png" 240x128+480+300 "$P/banner.png")" = 0 ] || fail "the banner went away"

# [SECTION] Esc to the menu, Esc to quit.
xdotool key --window "$WINDOW" Escape
sleep 1
shoot "$WINDOW" "$WORK_DIR/menu.png"
[ "$(region_differs "$WORK_DIR/menu.png" 96x128+928+32 "$P/wallpaper.png")" = 0 ] || fail "Esc did not show the menu"
xdotool key --window "$WINDOW" Escape
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
echo "PASS: the replay shown in $took s, pointer on its clicks, banner at its end, Esc to the menu"
