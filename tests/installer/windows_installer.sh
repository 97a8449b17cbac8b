#!/usr/bin/env bash
# windows_installer.sh <source folder> <Windows build folder>: the Windows installer under Wine
# and a private X server. A silent installation for all users; the window opens and a click
# lights a dot; a validation writes the working file in Windows-1252 with CR LF; a download
# without the module's tools names them and builds nothing; File > Save writes a .car; the end
# of the Windows session closes the program; a double click on the .car opens it in Vexlo; the
# silent uninstallation removes it. Prints how long the window took to show its dots (no limit).
# Exit 77 (skipped) when Qt for Windows has not been built on this machine.
set -euo pipefail
source_dir="$1" build="$2"
if ! "$source_dir/scripts/windows-qt.sh" --prefix >/dev/null; then
    echo "SKIPPED: Qt for Windows is not built in ~/.cache/vexlo/ (scripts/package-windows.sh" \
        "builds it once, about 30 minutes), so there is no installer to try."
    exit 77
fi
setups=("$build"/vexlo-*-setup.exe)
[[ -f "${setups[0]}" ]] || { echo "FAIL: no installer in $build: run scripts/package-windows.sh"; exit 1; }

work=$(mktemp -d /tmp/vexlo-wine-XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
pids=()
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() {  # <what> <seconds> <command...>: polls the command until it succeeds
    local deadline=$((SECONDS + $2))
    until "${@:3}"; do ((SECONDS < deadline)) || fail "timed out waiting for $1"; sleep 0.1; done
}

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 -dpi 96 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for "the X server" 15 test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"
wineboot -u >/dev/null 2>&1
wineserver -p 2>/dev/null || true  # one server for every program below (2: one runs already)

drive="$WINEPREFIX/drive_c"
program="$drive/Program Files/Vexlo"
wine "${setups[0]}" /S '/OUTILS=C:\outils' || fail "the silent installation ended with status $?"
[[ "$(cat "$program/Vexlo.ini")" == $'[Outils]\r\nDossier=C:\\outils\r' ]] ||
    fail "the tools folder is not in Vexlo.ini: $(cat -A "$program/Vexlo.ini")"
for file in Vexlo.exe Qt6Widgets.dll platforms/qwindows.dll imageformats/qgif.dll \
    translations/qtbase_fr.qm pointrouge.gif modèle/AfficheurCaracMaitre.mod Makefile \
    uninstall.exe; do
    [[ -f "$program/$file" ]] || fail "$file is not installed"
done
[[ -d "$program/Travail" ]] || fail "Travail is not installed"
[[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Vexlo.lnk" ]] ||
    fail "no Start menu entry"
registry() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
registry 'HKLM\Software\Classes\.car' | grep -q 'Vexlo.Sequence' || fail ".car is not registered"
registry 'HKLM\Software\Classes\Vexlo.Sequence\shell\open\command' |
    grep -qF '"C:\Program Files\Vexlo\Vexlo.exe" "%1"' || fail "no command opens a .car"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexlo'
registry "$uninstall_key" | grep -q 'QuietUninstallString' || fail "no entry to uninstall"

started=$(date +%s%N)
wine 'C:\Program Files\Vexlo\Vexlo.exe' >"$work/vexlo.log" 2>&1 &
vexlo=$!
disown  # the end of the session kills it, as Windows does once the window has closed
window() {  # waits for the window, then finds its place and its first dot
    wait_for "the window" 60 eval 'window=$(xdotool search --onlyvisible --name "^Vexlo$" | head -1)'
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # The client area is 4560 x 4440 twips above the 1080-twip strip of the sequence and a
    # 345-twip stage line, below the menu bar.
    menu_bar=$((HEIGHT - (4440 + 1080 + 345) * WIDTH / 4560))
    read -r dot_x dot_y < <(at 360 1320 300 300)
}
at() {  # <left> <top> <width> <height> of a control in twips: its centre on the screen
    echo $((X + ($1 + $3 / 2) * WIDTH / 4560)) $((Y + menu_bar + ($2 + $4 / 2) * WIDTH / 4560))
}
window
colour() {  # <x> <y>: the screen's colour there, e.g. srgb(255,0,0)
    import -window root -depth 8 "$work/screen.png" 2>/dev/null || return 0
    convert "$work/screen.png" -format "%[pixel:p{$1,$2}]" info:
}
wait_for "the dots" 30 eval '[[ $(colour $dot_x $dot_y) == "srgb(96,96,96)" ]]'
echo "First start: the window showed its dots after $((($(date +%s%N) - started) / 1000000)) ms."

xdotool mousemove "$dot_x" "$dot_y" click 1
wait_for "the lit dot" 10 eval '[[ $(colour $dot_x $dot_y) == "srgb(255,0,0)" ]]'
xdotool mousemove $(at 3720 1170 495 285) click 1 key ctrl+a type "1,5"
xdotool mousemove $(at 2280 1560 2175 375) click 1
printf '[Caract\xe8res]\r\nNombre=1\r\nCaract\xe8re1=1;0;0;0;0;0;0;1.5\r\n' >"$work/expected.car"
# Under Wine every folder can be written, so the program folder is the working folder; on
# Windows, where Program Files is read-only for a pupil, it is %LOCALAPPDATA%\Vexlo.
working_file() {
    for file in "$program/MessageTemporaire.car" \
        "$drive"/users/*/AppData/Local/Vexlo/MessageTemporaire.car; do
        cmp -s "$work/expected.car" "$file" && return 0
    done
    return 1
}
wait_for "the validated character in the working file" 10 working_file

# Neither on PATH nor in C:\outils: the download names the missing tools and builds nothing.
xdotool mousemove $(at 2760 3480 1695 855) click 1
wait_for "the missing tools' box" 20 eval \
    'box=$(xdotool search --onlyvisible --name "^Outils absents$" | head -1)'
xdotool windowfocus --sync "$box" key Return
wait_for "the box to close" 10 eval '! xdotool search --onlyvisible --name "^Outils absents$" >/dev/null'
for file in "$program" "$drive"/users/*/AppData/Local/Vexlo; do
    [[ ! -e "$file/AfficheurCarac.c" ]] || fail "a source was generated without the tools"
done

xdotool key ctrl+s
wait_for "the save dialog" 20 eval \
    'dialog=$(xdotool search --onlyvisible --name "^Enregistrement de la séquence" | head -1)'
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type 'C:\users\Public\essai.car'
xdotool key Return
wait_for "the saved .car" 10 cmp -s "$work/expected.car" "$drive/users/Public/essai.car"

# The session ends (as at logoff): the program closes and keeps the working file.
wine wineboot --end-session >/dev/null 2>&1 || true
wait_for "the program's end" 20 eval '! kill -0 $vexlo 2>/dev/null'
wait_for "the working file after the end" 1 working_file

# A double click on the .car (Windows opens it through its file type): Vexlo shows its dot.
started=$(date +%s%N)
wine start 'C:\users\Public\essai.car' >/dev/null 2>&1 || fail "Windows cannot open the .car"
window
wait_for "the .car's lit dot" 30 eval '[[ $(colour $dot_x $dot_y) == "srgb(255,0,0)" ]]'
echo "Opened again on the .car, it showed its dots after $((($(date +%s%N) - started) / 1000000)) ms."
wine wineboot --end-session >/dev/null 2>&1 || true
wait_for "the end of the second window" 20 eval '! xdotool search --onlyvisible --name "^Vexlo$" >/dev/null'

wine 'C:\Program Files\Vexlo\uninstall.exe' /S || fail "the silent uninstallation failed"
# The uninstaller works from a copy of itself in the temporary folder, after this returns.
deadline=$((SECONDS + 30))
while [[ -e "$program" ]]; do
    ((SECONDS < deadline)) ||
        fail "the uninstallation left: $(cd "$program" && find . -mindepth 1 | tr '\n' ' ')"
    sleep 0.1
done
! registry "$uninstall_key" | grep -q DisplayName || fail "the entry to uninstall remains"
! registry 'HKLM\Software\Classes\.car' | grep -q Vexlo || fail ".car is still registered"
[[ ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Vexlo.lnk" ]] ||
    fail "the Start menu entry remains"
[[ -f "$drive/users/Public/essai.car" ]] || fail "the uninstallation took the pupil's file"
echo "PASS"
