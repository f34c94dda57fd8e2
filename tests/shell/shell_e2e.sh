#!/usr/bin/env bash
# The real program under a virtual X server: its window, its loading line,
# Esc from the splash to the menu, Esc on the menu ending it with status 0,
# and closing the window ending it the same way.
set -u
PROGRAM=$1
DATA=$2
CLOSE_WINDOW=$3
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
start_game "$PROGRAM"

WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[ "$WIDTH" = 1024 ] && [ "$HEIGHT" = 768 ] || fail "window is ${WIDTH}x${HEIGHT}, not 1024x768"
[ "$X" = 50 ] && [ "$Y" = 50 ] || fail "window is at ($X, $Y), not (50, 50)"

sleep 1
head -c 10 "$WORK_DIR/console.txt" | grep -qx 'Loading\.\.\.' || fail "the console does not start with Loading..."

# The splash is showing; Esc leaves it for the menu without ending the game.
xdotool mousemove --window "$WINDOW" 500 400
press Escape "$WINDOW"
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "Esc on the splash ended the game"

press Escape "$WINDOW"
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
# Closing the window ends the game the same way.
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window on the second start"
sleep 0.5
"$CLOSE_WINDOW" "$WINDOW" || fail "could not ask the window to close"
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "closing the window ended with status $status"

# Started from a folder without its files, the game still runs, and says
# where it looked and where it reads its files from.
mkdir -p "$WORK_DIR/elsewhere"
(cd "$WORK_DIR/elsewhere" && exec "$PROGRAM" >"$WORK_DIR/elsewhere.txt" 2>&1 </dev/null) &
GAME_PID=$!
WINDOW=$(wait_for_window Tolvane) || fail "no window when started elsewhere"
sleep 0.5
grep -qF "None of the pictures could be opened in $WORK_DIR/elsewhere. Tolvane reads its pictures, sounds, levels and profile.txt from the folder it is started in (scripts/play starts it in build/data)." \
    "$WORK_DIR/elsewhere.txt" || { cat "$WORK_DIR/elsewhere.txt" >&2; fail "started elsewhere, the game does not say where it looked"; }
{ grep -q "^Loading\.\.\.File not found" "$WORK_DIR/elsewhere.txt" &&
  grep -q "unable to open file gfx/tilesets/classic.tga" "$WORK_DIR/elsewhere.txt"; } ||
    fail "the loaders' own lines are missing"
press Escape "$WINDOW"
sleep 0.3
press Escape "$WINDOW"
wait_exit 10 || fail "started elsewhere, Esc twice did not end the game with status 0"

echo "PASS: window 1024x768 at (50, 50) titled Tolvane, loading line, Esc to the menu, Esc to exit 0, closing the window exits 0, a clear word when started away from its files"
