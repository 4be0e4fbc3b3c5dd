#!/usr/bin/env bash
# Prints how many lines the tests hold against the code (tests/ against src/, .cpp and .h).
# Exits 1 when the tests pass the limit (45% unless given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-45}
count() { find "$1" \( -name '*.cpp' -o -name '*.h' \) -type f -print0 | xargs -0 cat | wc -l; }
code=$(count src)
tests=$(count tests)
pct=$(( 100 * tests / code ))
echo "Test lines: $tests against $code lines of code: $pct% (limit $limit%)."
if [ "$pct" -gt "$limit" ]; then
    echo "The tests have grown past $limit% of the code: fold cases into tables and drop tests that restate the code." >&2
    exit 1
fi
