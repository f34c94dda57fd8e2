#!/usr/bin/env bash
# FIFOs where the real program reads its files, each case under a time
# limit: a FIFO nobody writes to would hold the game on its open for good.
# - At start-up, a picture and profile.txt: the window comes, the picture is
#   reported as a file that cannot be opened, and the game starts as new.
# - At a world start, the world's picture and level file, and at the end of
#   the world profile.txt.new: the world plays through on empty boards, the
#   save says it could not be made, and the game goes on to the menu.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

# wait_for_line TEXT SECONDS: until the console holds the text.
wait_for_line() {
    for _ in $(seq $(( $2 * 10 ))); do
        grep -qF "$1" "$WORK_DIR/console.txt" && return 0
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data

# [SECTION] Start-up
rm -f "$D/gfx/title.tga" "$D/profile.txt"
mkfifo "$D/gfx/title.tga" "$D/profile.txt"
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "with FIFOs for the title picture and profile.txt, no window came"
wait_for_line "unable to open file gfx/title.tga" 5 || fail "start-up was held by the FIFO for the title picture (no word on it within 5 s)"
xdotool key --window "$WINDOW" space
sleep 0.5
press Escape "$WINDOW"
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
[ -p "$D/profile.txt" ] || fail "the FIFO at profile.txt was replaced"

# [SECTION] A world start and its save. World 1 is open; its picture, its
# level file and the temporary profile are FIFOs.
rm -f "$D/profile.txt" "$D/gfx/bkgs/2.tga" "$D/levels/LevelSet1.txt"
{ printf '1\n0\n1\n0\n'; for _ in $(seq 26); do echo 0; done; } >"$D/profile.txt"
cp "$D/profile.txt" "$WORK_DIR/profile.before"
mkfifo "$D/gfx/bkgs/2.tga" "$D/levels/LevelSet1.txt" "$D/profile.txt.new"
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window for the world start"
sleep 0.5
xdotool key --window "$WINDOW" space
sleep 0.5
click "$WINDOW" 260 230
xdotool mousemove --window "$WINDOW" 1000 10
wait_for_line "unable to open file gfx/bkgs/2.tga" 10 || fail "the world's picture held the world start"
wait_for_line "Your progress could not be saved to profile.txt" 60 ||
    fail "the world on empty boards did not end with a save that could not be made"
cmp -s "$D/profile.txt" "$WORK_DIR/profile.before" || fail "profile.txt changed: $(tr '\n' ' ' <"$D/profile.txt")"
[ -p "$D/profile.txt.new" ] || fail "the FIFO at profile.txt.new was replaced"
sleep 0.5
press Escape "$WINDOW"
wait_exit 10
status=$?
[ "$status" = 0 ] || fail "after the failed save, Esc on the menu ended with status $status"
echo "PASS: FIFOs for a picture, profile.txt, a world's picture and level file and profile.txt.new never hold the game"
