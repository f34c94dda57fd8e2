#!/usr/bin/env bash
# The package as a player meets it: unpacked into a scratch root, its
# launcher started under Xvfb from an unrelated folder by a player whose
# home is a scratch folder of its own.
# - The first start makes ~/.local/share/tolvane with the fresh profile and
#   links to the shared gfx/, sound/ and levels/, and shows the window.
# - A world played to its end is saved in that profile, which later starts
#   never replace, and its levels' best pushes and replays beside it.
# - A setting is kept in ~/.config/tolvane/settings.
# - A replay is found from where the player named it.
# - Nothing is written anywhere but in the player's home.
set -u
BUILD=$1
. "$(dirname "$0")/../lib/xvfb.sh"
. "$(dirname "$0")/make_package.sh"

start_xvfb 1280x1024
make_package "$BUILD" "$WORK_DIR/package" || fail "cpack could not make the package"
root=$WORK_DIR/root
dpkg-deb -x "$DEB" "$root"
launcher=$root/usr/games/tolvane
shared=$root/usr/share/games/tolvane
export HOME=$WORK_DIR/home
unset XDG_DATA_HOME XDG_CONFIG_HOME
player=$HOME/.local/share/tolvane
mkdir -p "$HOME" "$WORK_DIR/elsewhere"

# Everything outside the home, as it was before the game ran.
snapshot() { find "$root" "$WORK_DIR/elsewhere" -printf '%p %y %s %m %T@\n' | sort; }
snapshot >"$WORK_DIR/before.txt"

# run_launcher: the installed game, started from an unrelated folder.
run_launcher() {
    (cd "$WORK_DIR/elsewhere" && exec "$launcher" >"$WORK_DIR/console.txt" 2>&1 </dev/null) &
    GAME_PID=$!
    WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
}
# quit: Esc until the game ends (one from the menu, two from a world's end).
quit() {
    for _ in 1 2 3; do
        kill -0 "$GAME_PID" 2>/dev/null || break
        press Escape "$WINDOW" 2>/dev/null
        sleep 0.5
    done
    wait_exit 10 || fail "Esc on the menu did not end the game with status 0"
}

# [SECTION] The first start makes the player's folder.
run_launcher
sleep 1
for folder in gfx sound levels; do
    [ "$(readlink "$player/$folder")" = "$shared/$folder" ] || fail "$player/$folder does not link to $shared/$folder"
done
cmp -s "$player/profile.txt" "$shared/profile.txt" || fail "the first start did not put the fresh profile in $player"
! grep -q "unable to open file\|File not found\|None of the pictures" "$WORK_DIR/console.txt" ||
    { cat "$WORK_DIR/console.txt" >&2; fail "the installed game could not open its files"; }
class=$(xprop -id "$WINDOW" WM_CLASS 2>/dev/null)
[ "$class" = 'WM_CLASS(STRING) = "tolvane", "Tolvane"' ] || fail "the window's class is $class"
press space "$WINDOW"
sleep 0.5
press m "$WINDOW"
sleep 0.5
grep -qx "music off" "$HOME/.config/tolvane/settings" 2>/dev/null ||
    fail "M was not kept in ~/.config/tolvane/settings: $(ls -R "$HOME" | head -20)"
[ ! -e "$player/settings" ] || fail "the installed game kept its settings beside the profile"
quit

# [SECTION] A world played to its end. The player brings a tutorial world
# of their own, whose nine levels each hold one pair that meets at once; the
# launcher leaves a folder the player made in place of a link alone.
rm "$player/levels"
mkdir "$player/levels"
for level in $(seq 0 9); do
    for r in $(seq 0 15); do
        for c in $(seq 0 15); do
            if [ "$level" -lt 9 ] && [ "$r" = 8 ] && { [ "$c" = 5 ] || [ "$c" = 6 ]; }; then echo 4
            elif [ "$level" -lt 9 ] && [ "$r" -ge 7 ] && [ "$r" -le 9 ] && [ "$c" -ge 4 ] && [ "$c" -le 7 ]; then
                [ "$r" = 9 ] || [ "$c" = 4 ] || [ "$c" = 7 ] && echo 2 || echo 3
            else echo 0
            fi
        done
    done
done >"$player/levels/Tutorial.txt"
run_launcher
sleep 1
press space "$WINDOW"
sleep 0.5
click "$WINDOW" 200 230
xdotool mousemove --window "$WINDOW" 1000 10
wait_world_finished "$player/profile.txt" 120
quit
best=$(sed -n 2p "$player/profile.txt")
[ "$best" -gt 0 ] || fail "the finished world has no best score"
[ "$(sed -n 5p "$player/profile.txt")" = 1 ] || fail "finishing the tutorial did not open world 2"
[ -L "$player/levels" ] && fail "the launcher replaced the player's own levels folder"
[ "$(grep -c '^Tutorial.txt [1-9] 0$' "$player/pushes.txt")" = 9 ] ||
    fail "the nine levels, cleared without a push, are not in the best pushes: $(cat "$player/pushes.txt" 2>&1)"
[ "$(grep -lx 'end .* cleared' "$player"/replays/Tutorial-[1-9].replay | wc -l)" = 9 ] ||
    fail "the nine levels are not all kept as replays in $player/replays: $(ls "$player/replays" 2>&1)"

# [SECTION] A later start keeps the profile.
cp "$player/profile.txt" "$WORK_DIR/saved.txt"
run_launcher
sleep 1
quit
cmp -s "$player/profile.txt" "$WORK_DIR/saved.txt" || fail "a later start replaced the player's profile"

# [SECTION] A replay named from where the player is, though the game runs
# in its own folder: this one is read, and refused at its second line.
printf 'tolvane replay 1\nlevel Tutorial.txt 0\n' >"$HOME/mine.replay"
(cd "$HOME" && exec "$launcher" --replay mine.replay >"$WORK_DIR/replay.txt" 2>&1 </dev/null)
status=$?
[ "$status" = 2 ] && grep -q '^.*mine.replay:2: expected' "$WORK_DIR/replay.txt" ||
    fail "a replay beside the player gave status $status: $(cat "$WORK_DIR/replay.txt")"

# [SECTION] Nothing was written outside the home.
snapshot >"$WORK_DIR/after.txt"
diff -u "$WORK_DIR/before.txt" "$WORK_DIR/after.txt" || fail "the game wrote outside the player's home"
echo "PASS: the installed launcher made $player, played a world to its end there (best score $best), and wrote nothing outside the home"
