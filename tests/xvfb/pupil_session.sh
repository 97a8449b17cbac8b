#!/usr/bin/env bash
# A pupil's session on the real window, on a private X display: draw a capital F with the mouse,
# type its duration, validate it, draw and validate a second character, close the window, then
# compare the working sequence file byte for byte. Each step is checked before the next one.
#
# Usage: pupil_session.sh <built program folder> <send_close_request executable>
# Exit code 0 on success. On failure a screenshot is left in the session's folder, whose path is
# printed.
set -euo pipefail

program_dir=$1
send_close_request=$2

# Window layout in twips; the window is drawn at the desktop's scale, read from its width.
readonly client_width=4560
readonly client_height=4440
readonly stage_line_height=345  # the download's stage line below the client area
readonly dot_rows=(1320 1660 2000 2340 2680 3020 3360)

work=$(mktemp -d /tmp/vexlo-xvfb-XXXXXX)
xvfb_pid=""
vexlo_pid=""
passed=0

cleanup() {
    if [[ -n $vexlo_pid ]] && kill -0 "$vexlo_pid" 2>/dev/null; then
        kill "$vexlo_pid" 2>/dev/null || true
        wait "$vexlo_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    if ((passed)); then
        rm -rf "$work"
    fi
}
trap cleanup EXIT

screenshot() {  # <name>: the whole display, when ImageMagick is there
    if [[ -n ${DISPLAY:-} ]] && command -v import >/dev/null; then
        import -window root "$work/$1.png" 2>/dev/null || true
    fi
}

fail() {
    echo "FAIL: $*" >&2
    screenshot failure
    for picture in "$work"/*.png; do
        [[ -f $picture ]] && echo "Screenshot: $picture" >&2
    done
    if [[ -s $work/vexlo.log ]]; then
        echo "Program output:" >&2
        cat "$work/vexlo.log" >&2
    fi
    echo "Session folder kept: $work" >&2
    exit 1
}

# wait_for <seconds> <what> <command...>: polls the command until it succeeds.
wait_for() {
    local deadline=$((SECONDS + $1)) what=$2
    shift 2
    until "$@"; do
        ((SECONDS < deadline)) || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# --- a throw-away copy of the program folder, the program's folder while it runs
mkdir -p "$work/Vexlo" "$work/runtime"
chmod 700 "$work/runtime"
cp -a "$program_dir/." "$work/Vexlo/"
rm -f "$work/Vexlo/MessageTemporaire.car"
working_file="$work/Vexlo/MessageTemporaire.car"

# --- a private display; Xvfb picks a free number and writes it once it accepts clients
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 -dpi 96 \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 "the X server" test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"

# --- the real program, with App.Path the copied folder
env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" \
    "$work/Vexlo/Vexlo" >"$work/vexlo.log" 2>&1 &
vexlo_pid=$!

find_window() {
    window=$(xdotool search --all --onlyvisible --pid "$vexlo_pid" --name '^Vexlo$' 2>/dev/null |
        head -n 1) && [[ -n $window ]]
}
wait_for 15 "the Vexlo window" find_window

eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
menu_bar=$((HEIGHT - (client_height + stage_line_height) * WIDTH / client_width))
((menu_bar > 5 && menu_bar < 80)) ||
    fail "unexpected window size ${WIDTH}x${HEIGHT} (menu bar $menu_bar px)"

# click <left> <top> <width> <height>: clicks the middle of a control placed in twips.
click() {
    local x=$((X + ($1 + $3 / 2) * WIDTH / client_width))
    local y=$((Y + menu_bar + ($2 + $4 / 2) * WIDTH / client_width))
    # --sync waits for the pointer to move, so it would hang when it is already there.
    local pointer
    pointer=$(xdotool getmouselocation)
    if [[ $pointer != "x:$x y:$y "* ]]; then
        xdotool mousemove --sync "$x" "$y"
    fi
    xdotool click 1
}
click_dot() {  # <row 0 = A> <index 0 = leftmost>
    click $((360 + 330 * $2)) "${dot_rows[$1]}" 300 300
}
type_duration() {
    click 3720 1170 495 285  # TDurée
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "$1"
}
validate() { click 2280 1560 2175 375; }  # CBCaracOk

holds() {  # <bytes>: the working sequence file contains them
    [[ -f $working_file ]] && LC_ALL=C grep -qaF "$1" "$working_file"
}

# --- capital F: top row, leftmost column, the four left dots of the middle row
for index in 0 1 2 3 4; do click_dot 0 "$index"; done
for row in 1 2 3 4 5 6; do click_dot "$row" 0; done
for index in 1 2 3; do click_dot 3 "$index"; done
type_duration "1,5"
validate
wait_for 5 "the F in the working file" holds $'Caract\xe8re1=31;1;1;15;1;1;1;1.5\r'

# --- the rightmost dot of the bottom row, half a second
click_dot 6 4
type_duration "0,5"
validate
wait_for 5 "the second character in the working file" holds $'Caract\xe8re2=0;0;0;0;0;0;16;0.5\r'

# --- close the window as a window manager would; the program ends by itself
"$send_close_request" "$window" || fail "could not send the close request"
program_ended() { ! kill -0 "$vexlo_pid" 2>/dev/null; }
wait_for 10 "the program to end" program_ended
status=0
wait "$vexlo_pid" || status=$?
vexlo_pid=""
((status == 0)) || fail "the program ended with status $status"

expected="$work/expected.car"
printf '[Caract\xe8res]\r\nNombre=2\r\nCaract\xe8re1=31;1;1;15;1;1;1;1.5\r\nCaract\xe8re2=0;0;0;0;0;0;16;0.5\r\n' \
    >"$expected"
if ! cmp -s "$expected" "$working_file"; then
    echo "Working sequence file:" >&2
    od -c "$working_file" >&2 || true
    fail "the working sequence file differs from $expected"
fi

passed=1
echo "xvfb pupil session passed"
