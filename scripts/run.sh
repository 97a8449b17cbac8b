#!/usr/bin/env bash
# Builds what is missing and opens the Vexlo window.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
exec "${VEXLO_BUILD_DIR:-$here/build}/Vexlo/Vexlo" "$@"
