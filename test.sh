#!/bin/bash
# Runs every test: installs what is missing, builds all configurations, then
# the native unit tests (plain and sanitized), the checks of the built images
# and the Wine tests of the 64-bit edition. Ends with "N passed, N failed".
set -u
cd "$(dirname "$0")"
tools/install-deps.sh || exit 1
tools/build.sh || exit 1
passed=0
failed=0
log=$(mktemp)
for dir in native native-asan win32 win64; do
    echo "== $dir"
    # The Wine tests each run a desktop of their own; two at a time fit the
    # machine without starving their timeouts.
    (cd "build/$dir" && ctest --output-on-failure -j 2) | tee "$log"
    total=$(sed -n 's/.* tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
    bad=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n 1)
    [ -z "$total" ] && { total=0; bad=0; grep -q 'No tests were found' "$log" || bad=1; }
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
rm -f "$log"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
