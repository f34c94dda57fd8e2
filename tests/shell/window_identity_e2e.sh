#!/usr/bin/env bash
# How a dock or task bar sees the real program's window: its WM_CLASS
# matches the menu entry's StartupWMClass, and its _NET_WM_ICON is the
# picture in gfx/icon.tga, pixel for pixel. A missing, damaged or oversized
# icon leaves the window without one, and the game runs on and ends as
# always with no more on the console than the picture loader's own word.
set -u
PROGRAM=$1
DATA=$2
. "$(dirname "$0")/../lib/xvfb.sh"

start_xvfb 1280x1024
copy_runtime "$DATA"

# wait_for_loaded: the loading line has ended (the icon is set just after).
wait_for_loaded() {
    for _ in $(seq 100); do
        [ "$(wc -l <"$WORK_DIR/console.txt")" -ge 1 ] 2>/dev/null && { sleep 0.5; return 0; }
        sleep 0.1
    done
    fail "the loading line did not end"
}

# expected_icon FILE: the picture as _NET_WM_ICON should hold it, read by
# ImageMagick rather than by the game: width, height, then 0xAARRGGBB for
# each pixel from the top row down, as xprop writes them.
expected_icon() {
    local size
    size=$(identify -format '%w %h' "$1") || return 1
    convert "$1" -depth 8 rgba:- | od -An -v -tu1 | awk -v size="$size" '
        { for (i = 1; i <= NF; i++) b[n++] = $i }
        END {
            split(size, s, " ")
            printf "0x%x, 0x%x", s[1], s[2]
            for (i = 0; i < n; i += 4) {
                rgb = b[i] * 65536 + b[i + 1] * 256 + b[i + 2]
                if (b[i + 3] == 0) printf ", 0x%x", rgb
                else printf ", 0x%x%06x", b[i + 3], rgb
            }
            printf "\n"
        }'
}

window_class() { xprop -id "$1" WM_CLASS; }
window_icon() { xprop -id "$1" -notype -f _NET_WM_ICON 32x _NET_WM_ICON; }

# end_with_esc WINDOW: Esc on the splash, Esc on the menu, status 0.
end_with_esc() {
    press Escape "$1"
    sleep 0.3
    press Escape "$1"
    wait_exit 10 || fail "$2: Esc twice did not end the game with status 0"
}

# The game's own icon.
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window titled Tolvane appeared"
[ "$(window_class "$WINDOW")" = 'WM_CLASS(STRING) = "tolvane", "Tolvane"' ] ||
    fail "the window's class is $(window_class "$WINDOW"), not \"tolvane\", \"Tolvane\""
expected=$(expected_icon "$WORK_DIR/data/gfx/icon.tga") || fail "ImageMagick could not read gfx/icon.tga"
case "$expected" in "0x40, 0x40, "*) ;; *) fail "gfx/icon.tga is not 64x64: ${expected:0:40}" ;; esac
actual=""
for _ in $(seq 100); do
    actual=$(window_icon "$WINDOW" | sed 's/^_NET_WM_ICON = //')
    [ "${actual:0:2}" = 0x ] && break
    sleep 0.1
done
[ "${actual:0:2}" = 0x ] || fail "the window has no _NET_WM_ICON: $actual"
[ "${actual:0:12}" = "${expected:0:12}" ] || fail "the icon is ${actual:0:12}, not ${expected:0:12} (width, height)"
[ "$actual" = "$expected" ] || fail "the icon's pixels differ from gfx/icon.tga"
end_with_esc "$WINDOW" "with its icon"
normal_console=$(cat "$WORK_DIR/console.txt")

# A damaged icon (cut short after its header): no icon, not a word more.
head -c 100 "$DATA/gfx/icon.tga" >"$WORK_DIR/data/gfx/icon.tga"
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window with a damaged icon"
wait_for_loaded
window_icon "$WINDOW" | grep -q 'not found' || fail "a damaged icon still gave the window an icon"
[ "$(window_class "$WINDOW")" = 'WM_CLASS(STRING) = "tolvane", "Tolvane"' ] || fail "no class with a damaged icon"
end_with_esc "$WINDOW" "with a damaged icon"
[ "$(cat "$WORK_DIR/console.txt")" = "$normal_console" ] || fail "a damaged icon changed the console"

# An icon larger than one request to the X server can carry (2100 x 2100
# pixels, over four million words): refused by the game, not by the server,
# whose refusal would end it.
{ printf '\0\0\2\0\0\0\0\0\0\0\0\0\x34\x08\x34\x08\x18\x20'; head -c $((2100 * 2100 * 3)) /dev/zero; } \
    >"$WORK_DIR/data/gfx/icon.tga"
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window with an oversized icon"
wait_for_loaded
kill -0 "$GAME_PID" 2>/dev/null || fail "an oversized icon ended the game"
window_icon "$WINDOW" | grep -q 'not found' || fail "an oversized icon was set"
end_with_esc "$WINDOW" "with an oversized icon"
[ "$(cat "$WORK_DIR/console.txt")" = "$normal_console" ] || fail "an oversized icon changed the console"

# No icon at all: the loader's one line, after the loading line.
rm "$WORK_DIR/data/gfx/icon.tga"
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "no window without an icon"
wait_for_loaded
window_icon "$WINDOW" | grep -q 'not found' || fail "a missing icon still gave the window an icon"
[ "$(window_class "$WINDOW")" = 'WM_CLASS(STRING) = "tolvane", "Tolvane"' ] || fail "no class without an icon"
end_with_esc "$WINDOW" "without an icon"
[ "$(cat "$WORK_DIR/console.txt")" = "$normal_console"$'\n'"unable to open file gfx/icon.tga" ] ||
    fail "without an icon the console is not the usual one and the loader's line"

echo "PASS: WM_CLASS \"tolvane\", \"Tolvane\"; _NET_WM_ICON is gfx/icon.tga's 64x64 pixels; a damaged, oversized or missing icon leaves no icon, the console as it was (but the loader's line for a missing one), and Esc twice ends the game with 0"
