#!/usr/bin/env bash
# The real program on a 1920x1080 screen, in a table of window shapes: full
# screen by F11 (and back by Alt+Enter), a wide window and a tall one. In
# each the 4:3 picture is whole, as large as fits and centred, the bars
# beside it are black, the logo's ring stays round, a click on world 0's
# button starts it, a click on a block pushes it, and a click on a bar does
# nothing (not even ending a pause, as any click on the picture would).
# Then, in a 1024x768 window: another window taking the focus pauses the
# level in play and the clock stands still; so does hiding the window; and
# a game that never had the focus (as here, with no window manager) is not
# paused by another window taking it.
# TOLVANE_WINDOW_SHOTS=DIR keeps the full-screen menu and the pause there.
set -u
PROGRAM=$1
DATA=$2
FOCUS_THIEF=$3
. "$(dirname "$0")/../lib/xvfb.sh"

SCREEN_W=1920
SCREEN_H=1080
start_xvfb ${SCREEN_W}x${SCREEN_H}
copy_runtime "$DATA"
SHOTS=${TOLVANE_WINDOW_SHOTS:-}

differs() {  # A B [GEOMETRY]: pixels that differ by more than 2 percent
    if [ $# -eq 3 ]; then
        convert "$1" -crop "$3" +repage "$WORK_DIR/da.png"
        convert "$2" -crop "$3" +repage "$WORK_DIR/db.png"
        set -- "$WORK_DIR/da.png" "$WORK_DIR/db.png"
    fi
    compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

# [SECTION] Where the picture lies: the same arithmetic as app/picture_rect.cpp.
picture() {  # W H: sets PX PY PW PH
    local w=$1 h=$2
    if [ $((w * 768)) -le $((h * 1024)) ]; then
        PW=$w; PH=$(( (w * 768 * 2 + 1024) / 2048 ))
    else
        PH=$h; PW=$(( (h * 1024 * 2 + 768) / 1536 ))
    fi
    PX=$(( (w - PW) / 2 )); PY=$(( (h - PH) / 2 ))
}
# The window pixel whose middle lies on a layout unit, and a layout region
# LEFT TOP WIDTH HEIGHT as window pixels.
wx() { echo $(( PX + ($1 * PW + PW / 2) / 1024 )); }
wy() { echo $(( PY + ($1 * PH + PH / 2) / 768 )); }
region() {
    local x0=$(( PX + $1 * PW / 1024 )) y0=$(( PY + $2 * PH / 768 ))
    local x1=$(( PX + ($1 + $3) * PW / 1024 )) y1=$(( PY + ($2 + $4) * PH / 768 ))
    echo "$((x1 - x0))x$((y1 - y0))+$x0+$y0"
}

# bars_black SHOT W H: every pixel of every bar is black, and the picture's
# own first and last columns and rows are not.
bars_black() {
    local shot=$1 w=$2 h=$3 g bars=() edges=()
    if [ "$PX" -gt 0 ]; then
        bars+=("${PX}x${h}+0+0" "$((w - PX - PW))x${h}+$((PX + PW))+0")
        edges+=("1x${PH}+${PX}+${PY}" "1x${PH}+$((PX + PW - 1))+${PY}")
    fi
    if [ "$PY" -gt 0 ]; then
        bars+=("${w}x${PY}+0+0" "${w}x$((h - PY - PH))+0+$((PY + PH))")
        edges+=("${PW}x1+${PX}+${PY}" "${PW}x1+${PX}+$((PY + PH - 1))")
    fi
    for g in "${bars[@]}"; do
        [ "$(convert "$shot" -crop "$g" +repage -format '%[max]' info:)" = 0 ] ||
            fail "$CASE: the bar $g of $(basename "$shot") is not all black"
    done
    for g in "${edges[@]}"; do
        [ "$(convert "$shot" -crop "$g" +repage -format '%[max]' info:)" != 0 ] ||
            fail "$CASE: the picture's edge $g is black: the picture does not reach its rectangle"
    done
}

# ring SHOT: the width and height in pixels of the gold ring of the logo on
# the menu (a circle 100 units across, in the layout's region 15,20 118x125).
ring() {
    convert "$1" -crop "$(region 15 20 118 125)" +repage -fuzz 15% -fill white -opaque 'rgb(245,197,66)' \
        -fill black +opaque white -format '%@' info: | sed 's/+.*//'
}

# wait_geometry WINDOW W H X Y: the window has that size and place within 5 s.
wait_geometry() {
    local WIDTH HEIGHT X Y SCREEN WINDOW
    for _ in $(seq 50); do
        eval "$(xdotool getwindowgeometry --shell "$1")"
        [ "$WIDTH" = "$2" ] && [ "$HEIGHT" = "$3" ] && { [ -z "${4:-}" ] || { [ "$X" = "$4" ] && [ "$Y" = "$5" ]; }; } &&
            return 0
        sleep 0.1
    done
    fail "$CASE: the window is ${WIDTH}x${HEIGHT} at ($X, $Y), not ${2}x${3}${4:+ at ($4, $5)}"
}

# [SECTION] The window shapes. CASE  HOW (F11 or a window size)  whether
# another window takes the focus while the level is in play.
CASES="fullscreen F11 no
wide 1600x700 yes
tall 700x900 no"

figures=""
while read -r CASE how thief; do
    start_game "$PROGRAM"
    WINDOW=$(wait_for_window Tolvane) || fail "$CASE: no window titled Tolvane appeared"
    if [ "$how" = F11 ]; then
        press F11 "$WINDOW"
        wait_geometry "$WINDOW" $SCREEN_W $SCREEN_H 0 0
        w=$SCREEN_W; h=$SCREEN_H
    else
        w=${how%x*}; h=${how#*x}
        xdotool windowsize "$WINDOW" "$w" "$h"
        wait_geometry "$WINDOW" "$w" "$h"
    fi
    picture "$w" "$h"
    # The pointer rests on a bar, where the game draws no pointer.
    if [ "$PX" -gt 0 ]; then rest="$((PX / 2)) $((h / 2))"; else rest="$((w / 2)) $((PY / 2))"; fi
    sleep 0.5
    press space "$WINDOW"
    xdotool mousemove --window "$WINDOW" $rest
    sleep 1
    shoot "$WINDOW" "$WORK_DIR/menu-$CASE.png"
    bars_black "$WORK_DIR/menu-$CASE.png" "$w" "$h"
    size=$(ring "$WORK_DIR/menu-$CASE.png")
    rw=${size%x*}; rh=${size#*x}
    [ $((rw - rh)) -le 1 ] && [ $((rh - rw)) -le 1 ] || fail "$CASE: the ring is ${rw}x${rh}: not round"
    expected=$(( (100 * PW + 512) / 1024 ))
    [ $((rw - expected)) -le 2 ] && [ $((expected - rw)) -le 2 ] ||
        fail "$CASE: the ring is $rw pixels across, not about $expected: the picture is not as large as fits"
    [ -n "$SHOTS" ] && [ "$how" = F11 ] && cp "$WORK_DIR/menu-$CASE.png" "$SHOTS/fullscreen-wide.png"

    # World 0's button is drawn at layout (175, 200) to (239, 264).
    click "$WINDOW" "$(wx 207)" "$(wy 232)"
    xdotool mousemove --window "$WINDOW" $rest
    sleep 1.5
    shoot "$WINDOW" "$WORK_DIR/play-$CASE.png"
    g=$(region 300 250 600 400)
    changed=$(differs "$WORK_DIR/menu-$CASE.png" "$WORK_DIR/play-$CASE.png" "$g")
    area=$(( ${g%%x*} * $(echo "$g" | sed 's/^[0-9]*x\([0-9]*\)+.*/\1/') ))
    [ "${changed%.*}" -gt $((area / 3)) ] || fail "$CASE: the click on world 0 changed only $changed pixels: it did not start"
    bars_black "$WORK_DIR/play-$CASE.png" "$w" "$h"

    # The first tutorial level: the block in column 6 of row 9 goes one cell
    # right with the right button.
    click "$WINDOW" "$(wx $((384 + 32 * 6 + 16)))" "$(wy $((224 + 32 * 9 + 16)))" 3
    xdotool mousemove --window "$WINDOW" $rest
    sleep 1
    shoot "$WINDOW" "$WORK_DIR/pushed-$CASE.png"
    cells=$(region $((384 + 32 * 6)) $((224 + 32 * 9)) 64 32)
    moved=$(differs "$WORK_DIR/play-$CASE.png" "$WORK_DIR/pushed-$CASE.png" "$cells")
    [ "${moved%.*}" -gt $(( PW * PW / 2500 )) ] || fail "$CASE: the click on the block changed only $moved pixels of its cells"

    if [ "$thief" = yes ]; then
        # Under a server with no window manager the focus follows the
        # pointer (PointerRoot): the game never had it, and another window
        # taking it pauses nothing. The clock goes on.
        "$FOCUS_THIEF" 2 1750 950 >/dev/null &
        thief_pid=$!
        sleep 1
        shoot "$WINDOW" "$WORK_DIR/ran-$CASE.png"
        sleep 1.2
        shoot "$WINDOW" "$WORK_DIR/ran-later-$CASE.png"
        wait "$thief_pid"
        ran=$(differs "$WORK_DIR/ran-$CASE.png" "$WORK_DIR/ran-later-$CASE.png")
        [ "${ran%.*}" -gt 0 ] || fail "$CASE: a game that never had the focus stood still when another window took it"
        board=$(differs "$WORK_DIR/pushed-$CASE.png" "$WORK_DIR/ran-later-$CASE.png" "$(region 384 224 512 512)")
        [ "${board%.*}" -lt 100 ] || fail "$CASE: the board changed ($board pixels) when another window took the focus"
    fi

    # Paused, any click on the picture goes on; a click on a bar is none.
    press p "$WINDOW"
    sleep 0.5
    shoot "$WINDOW" "$WORK_DIR/paused-$CASE.png"
    covered=$(differs "$WORK_DIR/pushed-$CASE.png" "$WORK_DIR/paused-$CASE.png" "$(region 384 224 512 512)")
    [ "${covered%.*}" -gt $(( PW * PW / 20 )) ] || fail "$CASE: P changed only $covered pixels of the board"
    if [ "$PX" -gt 0 ]; then bar="$(( PX + PW + (w - PX - PW) / 2 )) $(wy 528)"; else bar="$(wx 592) $(( PY + PH + (h - PY - PH) / 2 ))"; fi
    click "$WINDOW" $bar
    xdotool mousemove --window "$WINDOW" $rest
    sleep 1
    shoot "$WINDOW" "$WORK_DIR/bar-$CASE.png"
    after=$(differs "$WORK_DIR/paused-$CASE.png" "$WORK_DIR/bar-$CASE.png")
    [ "$after" = 0 ] || fail "$CASE: a click on the bar at ($bar) changed $after pixels of the paused game"

    if [ "$how" = F11 ]; then
        press alt+Return "$WINDOW"
        wait_geometry "$WINDOW" 1024 768 50 50
    fi
    press Escape "$WINDOW"
    sleep 0.5
    press Escape "$WINDOW"
    wait_exit 10 || fail "$CASE: Esc on the menu did not end the game with status 0"
    figures="$figures $CASE ${w}x${h}: picture ${PW}x${PH}+${PX}+${PY}, ring ${rw}x${rh};"
done <<<"$CASES"

# [SECTION] Focus and hiding, in the game's own 1024x768 window.
CASE=focus
start_game "$PROGRAM"
WINDOW=$(wait_for_window Tolvane) || fail "$CASE: no window titled Tolvane appeared"
sleep 1
xdotool windowfocus --sync "$WINDOW"
press space "$WINDOW"
sleep 0.5
click "$WINDOW" 207 232
xdotool mousemove --window "$WINDOW" 1000 20
sleep 1.5
shoot "$WINDOW" "$WORK_DIR/playing.png"
"$FOCUS_THIEF" 3 1200 100 >/dev/null &
thief_pid=$!
sleep 1
shoot "$WINDOW" "$WORK_DIR/lost.png"
sleep 1.5
shoot "$WINDOW" "$WORK_DIR/lost-later.png"
wait "$thief_pid"
covered=$(differs "$WORK_DIR/playing.png" "$WORK_DIR/lost.png")
[ "${covered%.*}" -gt 20000 ] || fail "focus: losing the focus changed only $covered pixels: no pause panel"
still=$(differs "$WORK_DIR/lost.png" "$WORK_DIR/lost-later.png")
[ "$still" = 0 ] || fail "focus: paused by the lost focus, the picture (clock included) changed in $still pixels"
[ -n "$SHOTS" ] && cp "$WORK_DIR/lost.png" "$SHOTS/pause.png"

# P goes on; then the window is hidden and shown again: paused again.
press p "$WINDOW"
sleep 1
shoot "$WINDOW" "$WORK_DIR/going.png"
going=$(differs "$WORK_DIR/playing.png" "$WORK_DIR/going.png")
[ "${going%.*}" -lt 20000 ] || fail "hidden: P did not take the pause panel away ($going pixels)"
xdotool windowunmap --sync "$WINDOW"
sleep 0.5
xdotool windowmap --sync "$WINDOW"
sleep 1
shoot "$WINDOW" "$WORK_DIR/shown.png"
sleep 1.5
shoot "$WINDOW" "$WORK_DIR/shown-later.png"
hidden=$(differs "$WORK_DIR/going.png" "$WORK_DIR/shown.png")
[ "${hidden%.*}" -gt 20000 ] || fail "hidden: hiding the window changed only $hidden pixels: no pause panel"
still2=$(differs "$WORK_DIR/shown.png" "$WORK_DIR/shown-later.png")
[ "$still2" = 0 ] || fail "hidden: paused by hiding, the picture changed in $still2 pixels"
press Escape "$WINDOW"
sleep 0.5
press Escape "$WINDOW"
wait_exit 10 || fail "focus: Esc on the menu did not end the game with status 0"

echo "PASS:$figures bars black, world 0 started, a block pushed and a bar click ignored in each;" \
    "focus lost: panel over $covered pixels, still for 1.5 s; hidden: panel over $hidden pixels, still for 1.5 s;" \
    "never focused: not paused"
