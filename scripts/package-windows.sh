#!/usr/bin/env bash
# Builds Vexlo for Windows from this machine and makes its installer,
# build-windows/vexlo-<version>-setup.exe. Installs the missing Debian packages; builds Qt for
# Windows once into ~/.cache/vexlo/ (about 30 min, see windows-qt.sh); later runs only rebuild
# what changed. Idempotent: with nothing changed it builds nothing and keeps the installer.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEXLO_WINDOWS_BUILD_DIR:-$here/build-windows}"
toolchain="$here/cmake/mingw-w64.cmake"

"$here/scripts/install-packages.sh"
qt="$("$here/scripts/windows-qt.sh" "$toolchain")"

if [[ ! -f "$build/build.ninja" ]]; then
    # qt-cmake brings Qt's own toolchain, which then loads ours. The build type is the main
    # build's: -O3 makes g++ 12 warn falsely (-Wrestrict) on string concatenations.
    "$qt/bin/qt-cmake" -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DBUILD_TESTING=OFF -DVEXLO_BENCHMARKS=OFF \
        -DVEXLO_WERROR=ON
fi
cmake --build "$build" -j "$(nproc)" --target Vexlo

# The installer's copy of the program folder, stripped of the debugging symbols.
program="$build/Vexlo"
stage="$build/setup/Vexlo"
strip=x86_64-w64-mingw32-strip
(cd "$program" && find . -type d) | while read -r dir; do mkdir -p "$stage/$dir"; done
(cd "$program" && find . -type f ! -name MessageTemporaire.car ! -name AfficheurCarac.c) |
    while read -r file; do
        if [[ ! -f "$stage/$file" || "$program/$file" -nt "$stage/$file" ]]; then
            mkdir -p "$(dirname "$stage/$file")"
            case "$file" in
                *.exe | *.dll) "$strip" --strip-unneeded -o "$stage/$file" "$program/$file" ;;
                *) cp "$program/$file" "$stage/$file" ;;
            esac
        fi
    done
# Files gone from the program folder leave the installer too.
(cd "$stage" && find . -type f) | while read -r file; do
    [[ -f "$program/$file" ]] || rm -f "$stage/$file"
done
find "$stage" -mindepth 1 -type d -empty | while read -r dir; do
    [[ -d "$program/${dir#"$stage"/}" ]] || rmdir "$dir"
done

# What to install and what the uninstaller removes, in NSIS words (Windows separators).
lists="$build/setup"
{
    printf '\xef\xbb\xbf'
    (cd "$stage" && find . -mindepth 1 -type d | sort) | while read -r dir; do
        printf 'CreateDirectory "$INSTDIR\\%s"\n' "${dir#./}" | tr / '\\'
    done
    (cd "$stage" && find . -type f | sort) | while read -r file; do
        dir="$(dirname "${file#./}")"
        [[ "$dir" == . ]] && dir="" || dir="\\$dir"
        printf 'SetOutPath "$INSTDIR%s"\nFile "%s"\n' "$dir" "$stage/${file#./}" |
            sed '1s|/|\\|g'
    done
    echo 'SetOutPath "$INSTDIR"'
} >"$lists/files.nsh.new"
{
    printf '\xef\xbb\xbf'
    (cd "$stage" && find . -type f | sort) | while read -r file; do
        printf 'Delete "$INSTDIR\\%s"\n' "${file#./}" | tr / '\\'
    done
    (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
        printf 'RMDir "$INSTDIR\\%s"\n' "${dir#./}" | tr / '\\'
    done
} >"$lists/removal.nsh.new"
for list in files removal; do
    cmp -s "$lists/$list.nsh.new" "$lists/$list.nsh" && rm "$lists/$list.nsh.new" ||
        mv "$lists/$list.nsh.new" "$lists/$list.nsh"
done

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
setup="$build/vexlo-$version-setup.exe"
script="$here/packaging/windows/vexlo.nsi"
icons="$here/artwork/icons"
if [[ ! -f "$setup" ]] || [[ -n "$(find "$stage" "$lists"/*.nsh "$script" "$icons"/*.ico \
    -newer "$setup" -print -quit)" ]]; then
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DLISTS="$lists" -DICONS="$icons" \
        -DOUTFILE="$setup.new" "$script"
    mv "$setup.new" "$setup"
fi
echo "$setup ($(du -h "$setup" | cut -f1))"
