#!/usr/bin/env bash
# A world whose level file is missing plays itself through: every level is
# cleared on its first tick, the count-downs run, the menu returns, and the
# profile holds the world finished with 9 times 99 and the next world opened.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data
rm -f "$D/levels/Tutorial.txt"
printf '1\n0\n1\n0\n' >"$D/profile.txt"
for i in $(seq 26); do echo 0; done >>"$D/profile.txt"

start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
sleep 1
xdotool key --window "$WINDOW" space
sleep 0.5
click "$WINDOW" 200 230
xdotool mousemove --window "$WINDOW" 1000 10

wait_world_finished "$D/profile.txt" 120

expected=$(printf '2\n891\n1\n0\n1\n0\n'; for i in $(seq 24); do echo 0; done)
[ "$(cat "$D/profile.txt")" = "$expected" ] || fail "profile.txt holds $(tr '\n' ' ' <"$D/profile.txt")"
[ ! -e "$D/profile.txt.new" ] || fail "a temporary profile was left behind"

xdotool key --window "$WINDOW" Escape
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
echo "PASS: world played through, profile 2/891 and world 2 opened"
