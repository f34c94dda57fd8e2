# Shared by the tests that drive the real program: a virtual X server of the
# test's own, and a copy of the runtime directory so the player's profile in
# build/data is never touched. Source it; it cleans up on exit.

XVFB_PID=""
GAME_PID=""
WORK_DIR=""

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null && wait "$GAME_PID" 2>/dev/null
    # Wait for the server to be gone: a server still closing down could
    # otherwise remove the socket of the next test's server on the same display.
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    [ -n "$WORK_DIR" ] && [ -z "${TOLVANE_KEEP_TEST_DIR:-}" ] && rm -rf "$WORK_DIR"
    return 0
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -n "$WORK_DIR" ] && [ -f "$WORK_DIR/console.txt" ] && { echo "--- console:" >&2; cat "$WORK_DIR/console.txt" >&2; }
    exit 1
}

# start_xvfb WIDTHxHEIGHT: a screen larger than the game's, so game mode is
# not possible and the game opens its window. -noreset: by default the server
# starts over each time its last client leaves, and a game started at that
# moment is turned away ("failed to open display") although the server lives.
start_xvfb() {
    local size=${1:-1280x1024}
    local fdfile
    WORK_DIR=$(mktemp -d /tmp/tolvane-e2e-XXXXXX)
    fdfile="$WORK_DIR/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    [ -s "$fdfile" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fdfile")"
}

# copy_runtime DATA_DIR: the game's working directory for this test.
copy_runtime() {
    mkdir -p "$WORK_DIR/data"
    cp -r "$1"/. "$WORK_DIR/data/"
}

# start_game PROGRAM: runs it in the copied runtime directory, console to a file.
start_game() {
    (cd "$WORK_DIR/data" && exec "$1" >"$WORK_DIR/console.txt" 2>&1 </dev/null) &
    GAME_PID=$!
}

# wait_for_window NAME: the id of the game's window once it is mapped.
wait_for_window() {
    local id=""
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# wait_exit SECONDS: the game's exit status, or fails when it is still running.
wait_exit() {
    local status
    for _ in $(seq $(( $1 * 10 ))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID"
            status=$?
            GAME_PID=""
            return $status
        fi
        sleep 0.1
    done
    fail "the game did not end within $1 seconds"
}

# wait_world_finished PROFILE SECONDS: waits until the profile's first line
# says the world is finished; fails when the game ends first or time runs out.
wait_world_finished() {
    for _ in $(seq $(( $2 * 2 ))); do
        sleep 0.5
        [ "$(head -n 1 "$1")" = 2 ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the world"
    done
    fail "the world was not finished within $2 seconds"
}

# press KEY [WINDOW]: one key stroke to the game's window.
press() {
    xdotool key --window "$2" "$1"
}

# shoot WINDOW FILE: a photograph of the game's window.
shoot() {
    import -display "$DISPLAY" -window "$1" "$2" 2>/dev/null
}

# region_differs SHOT WxH+X+Y EXPECTED: how many pixels of that region of the
# photograph differ from the expected picture (of the same size) by more
# than 2 percent.
region_differs() {
    convert "$1" -crop "$2" +repage -alpha off "$WORK_DIR/region.png"
    convert "$3" -alpha off "$WORK_DIR/expected.png"
    compare -metric AE -fuzz 2% "$WORK_DIR/region.png" "$WORK_DIR/expected.png" null: 2>&1 | cut -d' ' -f1
}

# click WINDOW X Y [BUTTON]: moves the pointer there and clicks.
click() {
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.2
    xdotool click --window "$1" "${4:-1}"
}
