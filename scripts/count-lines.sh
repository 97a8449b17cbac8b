#!/usr/bin/env bash
# Counts the lines of C, C++ and shell that are neither blank nor only a comment, for the
# program (src/, tools/) and for the tests (tests/, without their data files), so the two can be compared.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
count() {
    local files
    files=$(cd "$here" && find "$@" -path tests/data -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.sh' \) -print 2>/dev/null | sort)
    [[ -z "$files" ]] && { echo 0; return; }
    (cd "$here" && cat $files) | awk '
        /^[ \t]*$/ { next }
        incomment { if ($0 ~ /\*\//) incomment = 0; next }
        /^[ \t]*\/\*/ { if ($0 !~ /\*\//) incomment = 1; next }
        /^[ \t]*(\/\/|#[^a-z!])/ { next }
        /^[ \t]*#$/ { next }
        { n++ }
        END { print n + 0 }'
}
code=$(count src tools)
tests=$(count tests)
echo "program code: $code"
echo "tests:        $tests"
awk -v c="$code" -v t="$tests" 'BEGIN { if (c > 0) printf "ratio:        %.2f\n", t / c }'
