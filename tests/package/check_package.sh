#!/usr/bin/env bash
# Checks the .deb's dependencies, files, desktop entry, file type, and that a pupil opens a sequence.
set -euo pipefail
out="$2/package" root=$(mktemp -d) failures=0
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
rm -rf "$out"
"$1" --config "$2/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 || { cat "$out.log"; exit 1; }
depends=$(dpkg-deb --field "$out"/vexlo_*.deb Depends)
for package in libqt6widgets6 libsimavr2 qt6-translations-l10n make perl gcc-avr avr-libc avrdude; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
dpkg -x "$out"/vexlo_*.deb "$root"
for path in usr/lib/vexlo/{Vexlo,vexlo-module,Makefile,{pointrouge,pointgris,lecture,stop}.gif} \
    usr/lib/vexlo/modèle/AfficheurCarac{Maitre,Esclave}.mod usr/share/doc/vexlo/guide-enseignant.md \
    usr/share/icons/hicolor/48x48/{apps/vexlo,mimetypes/application-x-vexlo-sequence}.png; do
    [[ -f $root/$path ]] || fail "$path is not in the package"
done
[[ $(readlink "$root/usr/bin/vexlo") == ../lib/vexlo/Vexlo ]] || fail "bin/vexlo link"
[[ $(readlink "$root/usr/bin/vexlo-module") == ../lib/vexlo/vexlo-module ]] || fail "module link"
desktop-file-validate "$root/usr/share/applications/vexlo.desktop" || fail "desktop entry"
mkdir -p "$root/mime/packages" && cp "$root/usr/share/mime/packages/vexlo.xml" "$root/mime/packages"
update-mime-database "$root/mime" >/dev/null || fail "file type description"
grep -q '^50:application/x-vexlo-sequence:\*\.car$' "$root/mime/globs2" || fail "*.car file type"

home="$root/eleve" pupil=() working="$root/eleve/.local/share/vexlo/MessageTemporaire.car"
mkdir -p "$home" && chmod -R a-w "$root/usr"
printf '[Caract\xe8res]\r\nNombre=1\r\nCaract\xe8re1=31;17;17;31;17;17;17;0.5\r\n' >"$home/lettre.car"
if [[ $(id -u) -eq 0 ]]; then
    chmod 755 "$root" && chown -R 65534:65534 "$home"
    pupil=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
"${pupil[@]}" env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "$root/usr/bin/vexlo" "$home/lettre.car" >"$root/vexlo.log" 2>&1 &
until cmp -s "$home/lettre.car" "$working" || ! kill -0 $! 2>/dev/null; do sleep 0.1; done
cmp -s "$home/lettre.car" "$working" || { cat "$root/vexlo.log"; fail "installed program"; }
kill $! 2>/dev/null && wait $! || true
((failures == 0))
