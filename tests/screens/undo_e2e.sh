#!/usr/bin/env bash
# Undo as the player sees it, in the real program with its own pictures and
# levels: on the first tutorial level a push, then Backspace, gives back the
# very picture from before the push; only the clock may differ. Then P:
# ten seconds of pause change not a pixel, the clock included, and P again
# sets the clock going.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"

start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
sleep 1
press space "$WINDOW"
sleep 0.5
click "$WINDOW" 200 230  # world 0, the tutorial
# The pointer rests where it will rest in every photograph.
xdotool mousemove --window "$WINDOW" 1000 20
sleep 1.5

# "Time : NN" on the panel, right of the score: the one place allowed to change.
masked() {  # SHOT OUT: the photograph with the clock blacked out
    convert "$1" -fill black -draw "rectangle 195,228 310,262" "$2"
}
differs() {
    compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

shoot "$WINDOW" "$WORK_DIR/before.png"
# The tutorial's first level: b a . . a b on a one-row floor; the left a
# (column 6 of row 9) goes one cell right, which joins nothing yet.
click "$WINDOW" $((384 + 32 * 6 + 16)) $((224 + 32 * 9 + 16)) 3
xdotool mousemove --window "$WINDOW" 1000 20
sleep 1
shoot "$WINDOW" "$WORK_DIR/pushed.png"
press BackSpace "$WINDOW"
sleep 0.5
shoot "$WINDOW" "$WORK_DIR/undone.png"

for shot in before pushed undone; do masked "$WORK_DIR/$shot.png" "$WORK_DIR/$shot-masked.png"; done
[ -n "${TOLVANE_UNDO_SHOTS:-}" ] && cp "$WORK_DIR"/before.png "$WORK_DIR"/pushed.png "$WORK_DIR"/undone.png "$TOLVANE_UNDO_SHOTS"/
moved=$(differs "$WORK_DIR/before-masked.png" "$WORK_DIR/pushed-masked.png")
[ "$moved" -gt 500 ] || fail "the push changed only $moved pixels: the block did not move"
left=$(differs "$WORK_DIR/before-masked.png" "$WORK_DIR/undone-masked.png")
[ "$left" = 0 ] || fail "after Backspace $left pixels outside the clock differ from the picture before the push"
ticked=$(differs "$WORK_DIR/before.png" "$WORK_DIR/undone.png")
[ -n "${TOLVANE_UNDO_SHOTS:-}" ] && cp "$WORK_DIR"/before.png "$WORK_DIR"/pushed.png "$WORK_DIR"/undone.png "$TOLVANE_UNDO_SHOTS"/

press p "$WINDOW"
sleep 0.5
shoot "$WINDOW" "$WORK_DIR/paused.png"
sleep 10
shoot "$WINDOW" "$WORK_DIR/paused-later.png"
[ -n "${TOLVANE_UNDO_SHOTS:-}" ] && cp "$WORK_DIR"/paused.png "$TOLVANE_UNDO_SHOTS"/
still=$(differs "$WORK_DIR/paused.png" "$WORK_DIR/paused-later.png")
[ "$still" = 0 ] || fail "ten seconds of pause changed $still pixels"
covered=$(differs "$WORK_DIR/undone.png" "$WORK_DIR/paused.png")
[ "$covered" -gt 20000 ] || fail "the pause changed only $covered pixels: the board is not covered"
press p "$WINDOW"
sleep 1.5
shoot "$WINDOW" "$WORK_DIR/going.png"
going=$(differs "$WORK_DIR/undone.png" "$WORK_DIR/going.png")
[ "$going" -lt "$covered" ] || fail "P again did not take the pause panel away"

press Escape "$WINDOW"
sleep 0.5
press Escape "$WINDOW"
wait_exit 10 || fail "Esc on the menu did not quit"
echo "PASS: a push moved $moved pixels, Backspace put every one back; the clock differs in $ticked; ten seconds of pause changed no pixel"
