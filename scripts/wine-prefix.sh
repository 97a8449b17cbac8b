#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in when it is missing (once, about 20 s and 700 MB,
# outside the source tree), then keeps its server running for 5 minutes after the last program,
# so each test program starts in a few hundredths of a second instead of half a second.
# Usage: wine-prefix.sh PREFIX
set -euo pipefail
prefix="${1:?usage: wine-prefix.sh PREFIX}"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=C.UTF-8

# Tests started in parallel wait here for the one that makes the prefix.
exec 9>"$prefix.lock"
flock 9
if [[ ! -f "$prefix/.vexlo-ready" ]]; then
    echo "Making the Wine prefix $prefix"
    rm -rf "$prefix"
    # No Mono or Gecko: nothing here needs .NET or a web view, and Wine would offer to download them.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -u </dev/null 9>&-
    wineserver -w
    touch "$prefix/.vexlo-ready"
fi
# Neither the server nor the services may keep the lock (descriptor 9) or an output open.
wineserver -p300 </dev/null >/dev/null 2>&1 9>&- || true  # 2: a server already runs for it
# The first program of a session starts Wine's own services (explorer, services, winedevice),
# which live as long as the server and inherit that program's output: started here on
# /dev/null, they never hold a test's output pipe open, for which ctest would wait.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&-
