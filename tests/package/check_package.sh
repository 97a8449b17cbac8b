#!/usr/bin/env bash
# Builds the .deb with cpack, then checks its dependencies and contents, validates its desktop
# entry and file type, and starts the program it installs.
set -euo pipefail
cpack=$1
build=$2
out="$build/package"
rm -rf "$out"
"$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 || { cat "$out.log"; exit 1; }
deb=$(ls "$out"/vexlo_*.deb)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libsimavr2 qt6-translations-l10n make gcc-avr avr-libc avrdude; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

listing=$(dpkg-deb --contents "$deb")
contents=$(awk '{ print $6 }' <<<"$listing")
for path in ./usr/lib/vexlo/Vexlo ./usr/lib/vexlo/pointrouge.gif ./usr/lib/vexlo/pointgris.gif \
    ./usr/lib/vexlo/lecture.gif ./usr/lib/vexlo/stop.gif ./usr/lib/vexlo/Makefile \
    ./usr/lib/vexlo/modèle/AfficheurCaracMaitre.mod ./usr/lib/vexlo/modèle/AfficheurCaracEsclave.mod \
    ./usr/lib/vexlo/vexlo-module ./usr/bin/vexlo-module \
    ./usr/bin/vexlo ./usr/share/applications/vexlo.desktop ./usr/share/mime/packages/vexlo.xml \
    ./usr/share/icons/hicolor/48x48/apps/vexlo.png \
    ./usr/share/icons/hicolor/48x48/mimetypes/application-x-vexlo-sequence.png \
    ./usr/share/doc/vexlo/guide-enseignant.md; do
    grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
done
grep -q ' ./usr/bin/vexlo -> ../lib/vexlo/Vexlo$' <<<"$listing" ||
    fail "bin/vexlo is not a link to the program"
grep -q ' ./usr/bin/vexlo-module -> ../lib/vexlo/vexlo-module$' <<<"$listing" ||
    fail "bin/vexlo-module is not a link to the virtual module"

root=$(mktemp -d)
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/vexlo.desktop" || fail "desktop entry"
mkdir -p "$root/mime/packages"
cp "$root/usr/share/mime/packages/vexlo.xml" "$root/mime/packages/"
update-mime-database "$root/mime" >/dev/null || fail "file type description"
grep -q '^50:application/x-vexlo-sequence:\*\.car$' "$root/mime/globs2" || fail "*.car file type"

# The installed program started as a pupil opens a sequence file from the file manager: its
# folder cannot be written, so the sequence goes to the pupil's own working folder.
home="$root/eleve"
mkdir -p "$home"
printf '[Caract\xe8res]\r\nNombre=1\r\nCaract\xe8re1=31;17;17;31;17;17;17;0.5\r\n' >"$home/lettre.car"
chmod -R a-w "$root/usr"
as_pupil=()
if [[ $(id -u) -eq 0 ]]; then
    chmod 755 "$root"
    chown -R 65534:65534 "$home"
    as_pupil=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
"${as_pupil[@]}" env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "$root/usr/bin/vexlo" "$home/lettre.car" >"$root/vexlo.log" 2>&1 &
pid=$!
working="$home/.local/share/vexlo/MessageTemporaire.car"
for ((i = 0; i < 300; i++)); do
    cmp -s "$home/lettre.car" "$working" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
cmp -s "$home/lettre.car" "$working" || { cat "$root/vexlo.log"; fail "installed program"; }
kill "$pid" 2>/dev/null && wait "$pid" || true

((failures == 0))
