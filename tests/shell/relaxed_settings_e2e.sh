#!/usr/bin/env bash
# The relaxed clock and the settings in the real program. Relaxed, a level
# left for 100 seconds is still in play and then clears as ever, and a
# world finished relaxed opens the next one but keeps no best score. The
# clock switch, the music and full screen are remembered across a restart, and a
# damaged settings file does not stop the game.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data
S=$D/settings
# The tutorial's level file is gone: that world then clears itself, level
# after level, as soon as it starts.
rm -f "$D/levels/Tutorial.txt"
printf '1\n0\n1\n0\n' >"$D/profile.txt"
for _ in $(seq 26); do echo 0; done >>"$D/profile.txt"

CLOCK=64x64+903+200  # the menu's clock switch
open_menu() {
    start_game "$PROGRAM"
    WINDOW=$(wait_for_window Tolvane) || fail "no window"
    sleep 1
    press space "$WINDOW"
    sleep 1
    xdotool mousemove --window "$WINDOW" 1000 20
    sleep 0.5
}
quit() {
    press Escape "$WINDOW"
    sleep 0.5
    press Escape "$WINDOW"
    wait_exit 10 || fail "Esc did not quit"
}
shoot_region() {  # shoot_region FILE GEOMETRY: that part of the window
    shoot "$WINDOW" "$WORK_DIR/whole.png"
    convert "$WORK_DIR/whole.png" -crop "$2" +repage "$1"
}

# The first start: no settings file, so the clock runs.
open_menu
shoot_region "$WORK_DIR/clock-on.png" $CLOCK
press c "$WINDOW"
sleep 0.5
shoot_region "$WORK_DIR/clock-off.png" $CLOCK
[ "$(region_differs "$WORK_DIR/clock-off.png" 64x64+0+0 "$WORK_DIR/clock-on.png")" -gt 300 ] || fail "C did not change the clock switch"
grep -qx "relaxed-clock on" "$S" || fail "the settings do not hold the relaxed clock: $(cat "$S" 2>&1)"

# World 1's first level, left alone for longer than its clock would last.
click "$WINDOW" 264 232
xdotool mousemove --window "$WINDOW" 1000 20
sleep 2
shoot "$WINDOW" "$WORK_DIR/play-start.png"
sleep 100
shoot "$WINDOW" "$WORK_DIR/play-later.png"
still=$(region_differs "$WORK_DIR/play-later.png" 1024x768+0+0 "$WORK_DIR/play-start.png")
[ "$still" = 0 ] || fail "after 100 s relaxed, $still pixels changed: the clock ran or the level ended"
# Its two pushes clear it; the best pushes then hold the level.
click "$WINDOW" 592 400 1
sleep 1.5
click "$WINDOW" 592 464 1
sleep 3
grep -q "^LevelSet1.txt 1 2$" "$D/pushes.txt" 2>/dev/null || fail "the level was not cleared: $(cat "$D/pushes.txt" 2>&1)"
press Escape "$WINDOW"
sleep 1

# The tutorial, relaxed: finished, world 2 opened, no best score kept.
click "$WINDOW" 200 232
xdotool mousemove --window "$WINDOW" 1000 20
wait_world_finished "$D/profile.txt" 120
[ "$(sed -n 2p "$D/profile.txt")" = 0 ] || fail "a relaxed world kept the best score $(sed -n 2p "$D/profile.txt")"
[ "$(sed -n 5p "$D/profile.txt")" = 1 ] || fail "the relaxed world did not open world 2"
press m "$WINDOW"
sleep 0.5
grep -qx "music off" "$S" || fail "M did not turn the music off in the settings"
quit

# The second start: the clock is still off, and C turns it back on.
open_menu
shoot_region "$WORK_DIR/clock-again.png" $CLOCK
[ "$(region_differs "$WORK_DIR/clock-again.png" 64x64+0+0 "$WORK_DIR/clock-off.png")" = 0 ] ||
    fail "the relaxed clock was not remembered"
grep -qx "music off" "$S" || fail "the music's setting was lost"
press c "$WINDOW"
sleep 0.5
grep -qx "relaxed-clock off" "$S" || fail "C did not turn the clock back on"
press F11 "$WINDOW"
sleep 1
grep -qx "full-screen on" "$S" || fail "F11 was not kept in the settings"
quit
grep -q "settings" "$WORK_DIR/console.txt" && fail "a sound settings file was complained about"

# The third start is full screen at once.
open_menu
size=$(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: //p')
[ "$size" = 1280x1024 ] || fail "the game started in a $size window, not full screen"
quit

# Damaged settings: a start as ever, and one line on the console.
for damage in junk folder; do
    rm -rf "$S"
    case $damage in
        junk) head -c 3000 /dev/urandom >"$S" ;;
        folder) mkdir "$S" ;;
    esac
    open_menu
    shoot "$WINDOW" "$WORK_DIR/menu.png"
    click "$WINDOW" 264 232
    xdotool mousemove --window "$WINDOW" 1000 20
    sleep 1.5
    shoot "$WINDOW" "$WORK_DIR/world1.png"
    convert "$WORK_DIR/menu.png" -crop 600x400+300+250 +repage "$WORK_DIR/menu-part.png"
    changed=$(region_differs "$WORK_DIR/world1.png" 600x400+300+250 "$WORK_DIR/menu-part.png")
    [ "${changed%.*}" -gt 20000 ] || fail "$damage: world 1 did not start"
    quit
    [ "$(grep -c "settings" "$WORK_DIR/console.txt")" = 1 ] || fail "$damage: the console said $(cat "$WORK_DIR/console.txt")"
    echo "$damage: $(grep settings "$WORK_DIR/console.txt" | cut -c1-100)"
done
echo "PASS: relaxed, a level stays in play for 100 s and clears; a relaxed world opens the next with no best score; the clock, the music and full screen are remembered; damaged settings start the game"
