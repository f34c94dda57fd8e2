#!/usr/bin/env bash
# The tutorial world played with the keyboard alone, in the real program:
# space past the splash, the arrows to world 0 on the menu and Enter, then
# each level's pushes as arrow steps of the cursor and Z or X, from the
# plan key_plan makes of the golden replays. The pointer stays outside the
# window all along. Each level's pushes are timed from its first frame,
# seen as the "Problem" line changing; a level that does not end in time is
# started again with R and played once more. At the end the profile holds
# the world finished and the next one opened, the best pushes hold each
# level's pushes, and the replays the game kept of the keys' clears play
# back as kept.
set -u
PROGRAM=$1
DATA=$2
PLAN=$3
WATCH=$4
REPLAY=$5
SOLUTIONS=$6
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"
D=$WORK_DIR/data
"$PLAN" "$D/levels/Tutorial.txt" "$SOLUTIONS"/Tutorial-{1..9}.replay >"$WORK_DIR/plan.txt" 2>&1 ||
    fail "no key plan robust to late and early pushes: $(cat "$WORK_DIR/plan.txt")"

keys() { xdotool key --window "$WINDOW" --delay 40 "$@" 2>/dev/null; }
now() { date +%s.%N; }
# The photographs are kept where TOLVANE_KEYS_SHOTS says, to be looked at.
keep() { [ -n "${TOLVANE_KEYS_SHOTS:-}" ] && cp "$@" "$TOLVANE_KEYS_SHOTS"/; return 0; }
# How many pixels of a region hold the colour the cursor is drawn in.
cursor_pixels() {
    convert "$1" -crop "$2" +repage -fuzz 4% -fill white -opaque "#4DFFFF" -fill black +opaque white \
        -format "%[fx:round(mean*w*h)]" info:
}
# The "Problem : W - L" line on the panel changes on the first frame of each level.
watch_problem() { "$WATCH" "$WINDOW" 110 195 150 25 "$1" --first-change >"$WORK_DIR/start.txt"; }

# The pointer rests outside the window before the game starts, so it never moves over it.
xdotool mousemove 1270 1010 2>/dev/null
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
sleep 1
keys space
sleep 0.8
shoot "$WINDOW" "$WORK_DIR/menu.png"
keys Right Right  # the first only shows the selection, on world 0; the second moves it to world 1
sleep 0.5
shoot "$WINDOW" "$WORK_DIR/menu-world1.png"
keep "$WORK_DIR/menu-world1.png"
convert "$WORK_DIR/menu.png" -crop 420x260+100+330 +repage "$WORK_DIR/help.png"
texts=$(region_differs "$WORK_DIR/menu-world1.png" 420x260+100+330 "$WORK_DIR/help.png")
[ "${texts%.*}" -gt 1000 ] || fail "the selected world's texts did not replace the menu's help ($texts pixels changed)"
keys Left
sleep 0.3

watch_problem 10 &
watcher=$!
sleep 0.2
keys Return
wait "$watcher" || fail "Enter on world 0 did not start it"

level=0 retries=0
while read -r word a rest; do
    case $word in
    level)
        level=$a
        start=$(cut -d' ' -f1 "$WORK_DIR/start.txt")
        pushes=()
        ;;
    push)
        pushes+=("$a $rest")
        ;;
    cleared)
        # Ticks from the level's start to the next level's first frame, with a few seconds over.
        wait_s=$(awk -v t="$a" -v c="${rest%% *}" 'BEGIN { printf "%d", (t + c) / 120 + 6 }')
        for attempt in 1 2; do
            # The next level's first frame, or the menu's after the last.
            watch_problem "$wait_s" &
            watcher=$!
            for push in "${pushes[@]}"; do
                read -r tick steps <<<"$push"
                # The push key lands on its tick; the arrows before it go out 40 ms apart.
                pause=$(awk -v s="$start" -v t="$tick" -v n="$(wc -w <<<"$steps")" -v now="$(now)" \
                        'BEGIN { d = s + (t - 1) / 120 - 0.04 * (n - 1) - now; printf "%.3f", (d > 0 ? d : 0) }')
                sleep "$pause"
                # shellcheck disable=SC2086
                keys $steps
                [ -n "${TOLVANE_KEYS_LOG:-}" ] && echo "level $level tick $tick: $steps after sleeping $pause s"
                [ "$level" = 1 ] && [ ! -e "$WORK_DIR/cursor.png" ] && { shoot "$WINDOW" "$WORK_DIR/cursor.png" & }
            done
            wait "$watcher" && break
            shoot "$WINDOW" "$WORK_DIR/stuck-$level-$attempt.png"
            keep "$WORK_DIR/stuck-$level-$attempt.png"
            [ "$attempt" = 2 ] && fail "level $level was not cleared with its keys, twice"
            echo "level $level did not end in time: the dustbin, and once more"
            retries=$((retries + 1))
            keys r
            start=$(now)
        done
        echo "level $level cleared with ${#pushes[@]} pushes"
        ;;
    esac
done <"$WORK_DIR/plan.txt"

sleep 1.5
shoot "$WINDOW" "$WORK_DIR/menu-after.png"
keep "$WORK_DIR/cursor.png" "$WORK_DIR/menu-after.png"
on=$(cursor_pixels "$WORK_DIR/cursor.png" 512x512+384+224)
[ "$on" -gt 100 ] || fail "the cursor was not drawn on the first level's board ($on pixels of its colour)"

# World 0 finished with a score, world 1 still open, world 2 opened.
mapfile -t profile <"$D/profile.txt"
[ "${profile[0]}" = 2 ] && [ "${profile[1]}" -gt 0 ] && [ "${profile[2]}" = 1 ] && [ "${profile[4]}" = 1 ] ||
    fail "profile.txt holds $(head -n 6 "$D/profile.txt" | tr '\n' ' ')"
# Every level's pushes went down as the mouse's would: the best pushes and the kept replays.
expected=$(awk '$1 == "level" { l = $2 } $1 == "push" { n[l]++ } END { for (l = 1; l <= 9; ++l) print "Tutorial.txt", l, n[l] }' \
           "$WORK_DIR/plan.txt")
[ "$(grep '^Tutorial.txt' "$D/pushes.txt")" = "$expected" ] || fail "pushes.txt holds $(cat "$D/pushes.txt")"
"$REPLAY" --levels "$D/levels" "$D"/replays/Tutorial-{1..9}.replay >"$WORK_DIR/replays.txt" 2>&1 ||
    fail "the kept replays do not play back: $(cat "$WORK_DIR/replays.txt")"

keys Escape
wait_exit 10 || fail "Esc on the menu did not quit"
echo "PASS: world 0 played through with keys alone, $retries levels begun again; profile $(head -n 2 "$D/profile.txt" | tr '\n' ' ')and world 2 opened; best pushes and nine kept replays agree"
