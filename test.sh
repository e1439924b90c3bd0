#!/bin/bash
# Runs every test: installs what is missing, builds all configurations, then
# the native unit tests (plain and sanitized), the checks of the built images
# and the Wine tests of the 64-bit edition. Ends with "N passed, N failed".
set -u
cd "$(dirname "$0")"
tools/install-deps.sh || exit 1
tools/build.sh || exit 1
status=0
for dir in native native-asan win32 win64; do
    echo "== $dir"
    (cd "build/$dir" && ctest --output-on-failure -j "$(nproc)") || status=1
done
exit $status
