#!/usr/bin/env bash
# World after world from the menu in the real program: its resident memory
# after 100 world starts is within 5 MB of that after 10. Each start loads
# the world's 512 by 384 background into a texture of about 1 MB, so a
# start that kept the texture it replaced would show as some 90 MB.
#
# What the figure must not pick up is memory that settles by itself:
# - The renderer (Mesa's llvmpipe under Xvfb) grows its own working memory
#   over the first thousand or so frames, whatever they show: a busy menu
#   without any world start grows as much. The test first plays the
#   tutorial for ten seconds and moves about the menu, so that is behind it.
# - With threads of its own llvmpipe keeps a pool of frames in flight whose
#   size follows how busy the machine is, not the game: here it rasterizes
#   in the game's own thread.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

export LP_NUM_THREADS=0
LIMIT_KB=5120

start_xvfb 1280x1024
copy_runtime "$DATA"
picture_bytes=$(stat -c %s "$WORK_DIR/data/gfx/bkgs/1.tga")
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"

# The resident size of the idle menu: the median of 21 readings a tenth of a
# second apart. Each redraw briefly holds some 15 MB more while llvmpipe
# bins it, and the C library's heap is now and then trimmed a few MB lower;
# the median is what the menu holds between those moments.
resident_kb() {
    for _ in $(seq 21); do
        awk '$1 == "VmRSS:" { print $2 }' "/proc/$GAME_PID/status"
        sleep 0.1
    done | sort -n | sed -n 11p
}
bytes_read() { awk '$1 == "rchar:" { print $2 }' "/proc/$GAME_PID/io"; }

# start_world: one click on the tutorial's button, waiting until the game
# has read the world's picture (so the start really happened, and Esc
# comes after it), then Esc back to the menu.
starts=0
start_world() {
    local before
    before=$(bytes_read)
    xdotool click --window "$WINDOW" 1 2>/dev/null
    for _ in $(seq 500); do
        [ $(( $(bytes_read) - before )) -ge "$picture_bytes" ] && break
        sleep 0.01
    done
    [ $(( $(bytes_read) - before )) -ge "$picture_bytes" ] || fail "world start $(( starts + 1 )) did not read its picture"
    starts=$(( starts + 1 ))
    [ -n "${1:-}" ] && sleep "$1"
    xdotool key --window "$WINDOW" Escape 2>/dev/null
}

sleep 0.5
xdotool key --window "$WINDOW" space
sleep 0.5
xdotool mousemove --window "$WINDOW" 200 230
sleep 0.3

# [SECTION] The renderer settles: ten seconds of play, then a busy menu.
start_world 10
for _ in $(seq 60); do
    xdotool mousemove --window "$WINDOW" $(( 100 + RANDOM % 800 )) $(( 300 + RANDOM % 300 )) 2>/dev/null
    sleep 0.05
done
xdotool mousemove --window "$WINDOW" 200 230
sleep 0.3

# [SECTION] 10 world starts, then 90 more.
while [ "$starts" -lt 10 ]; do start_world; done
sleep 1
after10=$(resident_kb)
while [ "$starts" -lt 100 ]; do start_world; done
sleep 1
after100=$(resident_kb)
echo "resident after 10 world starts: $after10 kB, after 100: $after100 kB"
[ $(( after100 - after10 )) -le "$LIMIT_KB" ] ||
    fail "100 world starts hold $(( after100 - after10 )) kB more than 10"

press Escape "$WINDOW"
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
echo "PASS: resident memory after 100 world starts within 5 MB of that after 10"
