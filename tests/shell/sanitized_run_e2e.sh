#!/usr/bin/env bash
# The whole program built with AddressSanitizer and UndefinedBehavior-
# Sanitizer, under a virtual X server: the splash played through to the
# menu, the tutorial world played to its end (its level file removed, so
# every board is empty and clears itself) and back to the menu, pushes
# taken back with undo in world 1, hints asked (one answered, one dropped
# by a push, one by Esc while the solver thinks), then Esc.
# It must end with status 0 and the sanitizers must report nothing, with
# only the suppressions of tests/lsan.supp for libraries that are not ours.
set -u
PROGRAM=$1
DATA=$2
SUPPRESSIONS=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp
. "$(dirname "$0")/../lib/xvfb.sh"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$SUPPRESSIONS:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data
rm -f "$D/levels/Tutorial.txt"
{ printf '1\n0\n'; for _ in $(seq 28); do echo 0; done; } >"$D/profile.txt"

# The menu is up when a corner of its wallpaper is the menu tile, repeated.
convert "$D/gfx/frontend/bkg.tga" -write mpr:tile +delete -size 96x128 tile:mpr:tile "$WORK_DIR/wallpaper.png"
menu_shown() {
    shoot "$WINDOW" "$WORK_DIR/shot.png" &&
        [ "$(region_differs "$WORK_DIR/shot.png" 96x128+928+32 "$WORK_DIR/wallpaper.png")" = 0 ]
}
wait_for_menu() {  # SECONDS
    for _ in $(seq $(( $1 * 2 ))); do
        menu_shown && return 0
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.5
    done
    return 1
}

start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
xdotool mousemove --window "$WINDOW" 5 700

# [SECTION] Both phases of the splash, with no key pressed, then the menu.
sleep 2
menu_shown && fail "the menu came before the splash had run its course"
wait_for_menu 90 || fail "the splash did not give way to the menu"

# [SECTION] The tutorial world to its end, and the menu again.
click "$WINDOW" 200 230
xdotool mousemove --window "$WINDOW" 5 700
wait_world_finished "$D/profile.txt" 180
wait_for_menu 30 || fail "the menu did not come back after the world"

# [SECTION] World 1, opened by the tutorial: pushes on its first level, each
# taken back with Backspace or U (one more than there is to take back), then
# Esc to the menu.
click "$WINDOW" 264 230
sleep 1
for button in 3 1 3; do
    click "$WINDOW" $((384 + 32 * 7 + 16)) $((224 + 32 * 6 + 16)) "$button"
    sleep 0.5
done
for key in BackSpace u BackSpace U; do
    press "$key" "$WINDOW"
    sleep 0.2
done
press h "$WINDOW"
sleep 3
press h "$WINDOW"
click "$WINDOW" $((384 + 32 * 7 + 16)) $((224 + 32 * 6 + 16)) 3
press H "$WINDOW"
press Escape "$WINDOW"
wait_for_menu 30 || fail "Esc from world 1 did not bring back the menu"

# [SECTION] Esc, status 0, and not a word from the sanitizers.
press Escape "$WINDOW"
wait_exit 60
status=$?
[ "$status" = 0 ] || fail "Esc on the menu ended with status $status"
if grep -qE "Sanitizer|runtime error:" "$WORK_DIR/console.txt"; then
    fail "the sanitizers reported a fault"
fi
echo "PASS: the sanitized program ran splash, menu, a whole world and back, undo and hints, and ended with status 0 and no report"
