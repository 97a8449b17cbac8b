#!/usr/bin/env bash
# Builds what is missing, with warnings as errors, and runs every test (the window ones on Qt's
# offscreen platform).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" --werror
cd "${VEXLO_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j "$(nproc)" "$@"
