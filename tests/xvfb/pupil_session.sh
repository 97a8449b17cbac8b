#!/usr/bin/env bash
# pupil_session.sh <program folder>: on a private X server, a pupil draws an F with the mouse and
# validates it; the session ends (SIGTERM) and the program closes, keeping the working file.
set -euo pipefail
work=$(mktemp -d /tmp/vexlo-xvfb-XXXXXX)
trap 'kill "${pids[@]:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/vexlo.log" >&2 || true; exit 1; }
wait_for() {  # <what> <command...>: polls the command until it succeeds
    local deadline=$((SECONDS + 15))
    until "${@:2}"; do ((SECONDS < deadline)) || fail "timed out waiting for $1"; sleep 0.05; done
}

cp -a "$1" "$work/Vexlo"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 -dpi 96 3>"$work/display" 2>/dev/null &
pids=($!)
wait_for "the X server" test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"
QT_QPA_PLATFORM=xcb "$work/Vexlo/Vexlo" >"$work/vexlo.log" 2>&1 &
vexlo=$! pids+=($!)
wait_for "the window" eval 'window=$(xdotool search --onlyvisible --pid $vexlo --name ^Vexlo$ | head -1)'

# The client area is 4560 x 4440 twips above the 1080-twip strip of the sequence and a 345-twip
# stage line, drawn at the desktop's scale.
eval "$(xdotool getwindowgeometry --shell "$window")"
menu_bar=$((HEIGHT - (4440 + 1080 + 345) * WIDTH / 4560))
click() {  # <left> <top> <width> <height> of a control, in twips
    xdotool mousemove --window "$window" $((($1 + $3 / 2) * WIDTH / 4560)) \
        $((menu_bar + ($2 + $4 / 2) * WIDTH / 4560)) click 1
}
for dot in 0,0 0,1 0,2 0,3 0,4 1,0 2,0 3,0 3,1 3,2 3,3 4,0 5,0 6,0; do  # row,index
    click $((360 + 330 * ${dot#*,})) $((1320 + 340 * ${dot%,*})) 300 300
done
click 3720 1170 495 285  # the duration
xdotool key ctrl+a type "1,5"
click 2280 1560 2175 375  # validate
printf '[Caract\xe8res]\r\nNombre=1\r\nCaract\xe8re1=31;1;1;15;1;1;1;1.5\r\n' >"$work/f.car"
wait_for "the F in the working file" cmp -s "$work/f.car" "$work/Vexlo/MessageTemporaire.car"

kill -TERM "$vexlo"
wait "$vexlo" || fail "the program ended with status $?"
cmp -s "$work/f.car" "$work/Vexlo/MessageTemporaire.car" || fail "the working file changed"
