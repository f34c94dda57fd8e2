#!/usr/bin/env bash
# Game time against the wall clock, in the real program under a virtual X
# server, watched by pixel_watch (a few cheap reads of the window every few
# milliseconds, so the watching does not slow the game it times):
# - the splash's maker's line is white from the first phase's 100th tick to
#   its 501st: 401 ticks, 3.34 seconds at 120 ticks a second;
# - a world started from an idle menu shows its play screen at once, not
#   after the idle menu's half-second redraw delay.
set -u
PROGRAM=$1
DATA=$2
WATCH=$3
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"

now() { date +%s.%N; }
elapsed_ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%d", (b - a) * 1000 }'; }

start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
xdotool mousemove --window "$WINDOW" 5 5

# [SECTION] The maker's line turns white, then goes with its phase, whose
# successor starts under an opaque black veil that thins by 1 % a frame.
"$WATCH" "$WINDOW" 390 300 340 50 7 >"$WORK_DIR/splash.txt" || fail "could not watch the window"
read -r white gone < <(awk '!w && $2 == 255 { w = $1 } w && $2 < 60 { print w, $1; exit }' "$WORK_DIR/splash.txt")
[ -n "${gone:-}" ] || { cat "$WORK_DIR/splash.txt" >&2; fail "the maker's line did not turn white and go"; }
ms=$(elapsed_ms "$white" "$gone")
rate=$(awk -v ms="$ms" 'BEGIN { printf "%.1f", 401 / (ms / 1000) }')
echo "the maker's line was white for $ms ms: $rate ticks a second"
awk -v r="$rate" 'BEGIN { exit !(r >= 116 && r <= 122) }' ||
    fail "401 ticks took $ms ms, $rate ticks a second instead of 120"

# [SECTION] A world started from an idle menu. The menu idles once the
# pointer has been still for a quarter of a second; the click then comes
# without moving the pointer. The corner watched is black in the loading
# message's frame and shows the world's background once play is drawn.
sleep 1.5
worst=0
for round in 1 2 3 4 5 6; do
    xdotool mousemove --window "$WINDOW" 207 232
    sleep 1
    "$WATCH" "$WINDOW" 10 720 40 40 1.5 >"$WORK_DIR/corner.txt" &
    watcher=$!
    sleep 0.2
    clicked=$(now)
    xdotool click --window "$WINDOW" 1
    wait "$watcher"
    shown=$(awk -v c="$clicked" 'NR == 1 { menu = $5 } $1 > c && $5 != menu && $2 + $3 + $4 > 0 { print $1; exit }' \
            "$WORK_DIR/corner.txt")
    [ -n "$shown" ] || { cat "$WORK_DIR/corner.txt" >&2; fail "round $round: the play screen never showed"; }
    ms=$(elapsed_ms "$clicked" "$shown")
    [ "$ms" -gt "$worst" ] && worst=$ms
    press Escape "$WINDOW"
    sleep 0.3
done
echo "the play screen showed at most $worst ms after a click on an idle menu"
[ "$worst" -le 150 ] || fail "the play screen came $worst ms after the click"

press Escape "$WINDOW"
wait_exit 10 || fail "Esc on the menu did not end the game with status 0"
echo "PASS: 120 ticks a second on the splash, and a world's play screen at once"
