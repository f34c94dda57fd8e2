#!/usr/bin/env bash
# The real program under a limit on file sizes far below a profile's (16
# bytes), its console going to a pipe so that only the save meets the limit.
# The tutorial world plays itself through on empty boards; its save fails,
# says so, and the game goes on with the old profile in place and nothing
# left beside it, ending with Esc and status 0 rather than being killed by
# the limit's signal in the middle of the save.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data
rm -f "$D/levels/Tutorial.txt"
{ printf '1\n0\n1\n0\n'; for _ in $(seq 26); do echo 0; done; } >"$D/profile.txt"
cp "$D/profile.txt" "$WORK_DIR/profile.before"

# Mesa's shader cache would otherwise be the first file to meet the limit.
export MESA_SHADER_CACHE_DISABLE=true
(cd "$D" && exec prlimit --fsize=16 "$PROGRAM" > >(exec cat >"$WORK_DIR/console.txt") 2>&1 </dev/null) &
GAME_PID=$!
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
sleep 0.5
xdotool key --window "$WINDOW" space
sleep 0.5
click "$WINDOW" 200 230
xdotool mousemove --window "$WINDOW" 1000 10

said=""
for _ in $(seq 600); do
    grep -qxF "Your progress could not be saved to profile.txt" "$WORK_DIR/console.txt" && { said=yes; break; }
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
        wait "$GAME_PID"
        status=$?
        GAME_PID=""
        fail "the game ended during the world or its save, with status $status"
    fi
    sleep 0.1
done
[ -n "$said" ] || fail "the world did not end with a save that could not be made within a minute"
cmp -s "$D/profile.txt" "$WORK_DIR/profile.before" || fail "profile.txt changed: $(tr '\n' ' ' <"$D/profile.txt")"
[ ! -e "$D/profile.txt.new" ] || fail "profile.txt.new was left behind"

sleep 0.5
press Escape "$WINDOW"
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
echo "PASS: a save past the file-size limit says it could not be made; the old profile stays and the game exits 0"
