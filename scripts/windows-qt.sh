#!/usr/bin/env bash
# Builds Qt 6 for Windows (mingw-w64) once, from Debian's own source of the installed Qt, and
# keeps it in ~/.cache/vexlo/qt-<version>-mingw-<options hash>. Prints that folder on stdout.
#   windows-qt.sh --prefix        only print the folder (exit 1 when it is not built yet)
#   windows-qt.sh TOOLCHAIN_FILE  build it if missing, then print the folder
# The build log goes to ~/.cache/vexlo/logs/, never into the source tree.
set -euo pipefail

cache="${VEXLO_CACHE:-$HOME/.cache/vexlo}"
version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
upstream="${version%%+*}"

# Debian's repacked source lacks the wintab headers (tablet events); direct2d off needs
# directwrite3 off too, or qwindows.dll does not link; opengl off needs dynamicgl off too, or
# qwindows.dll does not compile. The rest is what Vexlo does not use.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d=OFF
    -DFEATURE_directwrite3=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_dynamicgl=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_vulkan=OFF
)
hash="$(printf '%s\n' "$version" "${options[@]}" | sha256sum | cut -c1-12)"
prefix="$cache/qt-$upstream-mingw-$hash"

if [[ -f "$prefix/.complete" ]]; then
    echo "$prefix"
    exit 0
fi
[[ "${1:-}" == --prefix ]] && exit 1
toolchain="${1:?usage: windows-qt.sh TOOLCHAIN_FILE | --prefix}"

src="$cache/src/qt6-base-$upstream"
if [[ ! -f "$src/CMakeLists.txt" ]]; then
    # A private sources list holding the system's own archive as deb-src: apt's configuration
    # and the system's package lists stay untouched.
    apt="$cache/apt"
    mkdir -p "$apt/lists/partial" "$cache/src"
    suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    echo "deb-src http://deb.debian.org/debian $suite main" >"$apt/sources.list"
    aptopts=(-o "Dir::Etc::sourcelist=$apt/sources.list" -o Dir::Etc::sourceparts=-
        -o "Dir::State::Lists=$apt/lists")
    apt-get "${aptopts[@]}" update >&2
    (cd "$cache/src" && apt-get "${aptopts[@]}" source --download-only "qt6-base=$version" >&2)
    rm -rf "$src.partial"
    dpkg-source -x "$cache/src/qt6-base_$version.dsc" "$src.partial" >&2
    mv "$src.partial" "$src"
fi

mkdir -p "$cache/logs"
log="$cache/logs/qt-$upstream-mingw-$hash.log"
build="$cache/build/qt-$upstream-mingw-$hash"
echo "Building Qt $upstream for Windows (about 30 min on 2 cores), log: $log" >&2
{
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" &&
        nice -n 10 cmake --build "$build" -j "$(nproc)" &&
        cmake --install "$build"
} >"$log" 2>&1 || {
    echo "The Qt build failed; see $log" >&2
    exit 1
}
touch "$prefix/.complete"
rm -rf "$build"
echo "$prefix"
