#!/usr/bin/env bash
# The real program with a profile that opens no world: all zeros, a folder,
# 10 MB of junk. Each time the console says why the profile could not be
# used, and world 0 starts from the menu; the damaged file is left as it is.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data

for case in zeros folder junk; do
    rm -rf "$D/profile.txt"
    case $case in
        zeros) for _ in $(seq 30); do echo 0; done >"$D/profile.txt" ;;
        folder) mkdir "$D/profile.txt" ;;
        junk) head -c 10485760 /dev/urandom >"$D/profile.txt" ;;
    esac
    before=$(ls -ld --time-style=+%s.%N "$D/profile.txt"; [ -f "$D/profile.txt" ] && md5sum <"$D/profile.txt")
    start_game "$PROGRAM"
    WINDOW=$(wait_for_window Tolvane) || fail "$case: no window"
    sleep 1
    press space "$WINDOW"
    sleep 1
    shoot "$WINDOW" "$WORK_DIR/menu.png"
    click "$WINDOW" 200 230  # world 0, the tutorial
    xdotool mousemove --window "$WINDOW" 1000 20
    sleep 1.5
    shoot "$WINDOW" "$WORK_DIR/world0.png"
    # The panel and the board replace the menu's wood and texts.
    convert "$WORK_DIR/menu.png" -crop 600x400+300+250 +repage "$WORK_DIR/menu-part.png"
    changed=$(region_differs "$WORK_DIR/world0.png" 600x400+300+250 "$WORK_DIR/menu-part.png")
    [ "${changed%.*}" -gt 20000 ] || fail "$case: the click on world 0 changed only $changed pixels: it did not start"
    press Escape "$WINDOW"
    sleep 0.5
    press Escape "$WINDOW"
    wait_exit 10 || fail "$case: Esc on the menu did not quit"
    grep -q "could not be used" "$WORK_DIR/console.txt" || fail "$case: the console did not say why: $(cat "$WORK_DIR/console.txt")"
    [ "$(grep -c "could not be used" "$WORK_DIR/console.txt")" = 1 ] || fail "$case: said more than once"
    after=$(ls -ld --time-style=+%s.%N "$D/profile.txt"; [ -f "$D/profile.txt" ] && md5sum <"$D/profile.txt")
    [ "$before" = "$after" ] || fail "$case: the damaged profile was touched"
    echo "$case: $(grep "could not be used" "$WORK_DIR/console.txt" | cut -c1-90)..."
done
echo "PASS: a profile of zeros, a folder and 10 MB of junk each start the game as new, world 0 plays, and the console says why"
