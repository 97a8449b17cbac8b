#!/usr/bin/env bash
# Builds what is missing, with warnings as errors, and runs every test (the window ones on Qt's
# offscreen platform). Where Qt for Windows has been built (scripts/package-windows.sh, once), it
# also rebuilds the Windows installer, which a test then tries under Wine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" --werror
if "$here/scripts/windows-qt.sh" --prefix >/dev/null; then
    "$here/scripts/package-windows.sh"
fi
cd "${VEXLO_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j "$(nproc)" "$@"
