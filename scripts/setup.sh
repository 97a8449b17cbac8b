#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds.
# Idempotent: with everything present and up to date it only runs the incremental build.
# With --werror the build treats compiler warnings as errors (the test command asks for it).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VEXLO_BUILD_DIR:-$here/build}"

"$here/scripts/install-packages.sh"

werror=OFF
[[ "${1:-}" == --werror ]] && werror=ON
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXLO_WERROR=$werror
elif [[ $werror == ON ]] && ! grep -qx 'VEXLO_WERROR:BOOL=ON' "$build/CMakeCache.txt"; then
    cmake "$build" -DVEXLO_WERROR=ON
fi
cmake --build "$build" -j "$(nproc)"
