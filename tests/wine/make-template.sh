#!/bin/bash
# Boots one Wine prefix for a test run; every test copies it into a prefix of
# its own (copying takes a second or two, booting ten times as long).
# usage: make-template.sh TEMPLATE_PREFIX
set -u
template=$1
wineserver=${LUMORA_WINESERVER:-/usr/lib/wine/wineserver}
[ -f "$template/system.reg" ] && exit 0
rm -rf "$template" "$template.new"
mkdir -p "$(dirname "$template")"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$template.display" >/dev/null 2>&1 &
xvfb=$!
sleep 0.2
for _ in $(seq 50); do [ -s "$template.display" ] && break; sleep 0.1; done
export WINEPREFIX=$template.new DISPLAY=:$(cat "$template.display") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 300 "${LUMORA_WINE:-/usr/lib/wine/wine64}" wineboot -i >/dev/null 2>&1
status=$?
# Without this wait the next start may find the prefix half written and boot
# it again.
timeout 120 "$wineserver" -w
kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null
rm -f "$template.display"
[ $status -eq 0 ] && [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot failed ($status)"; exit 1; }
mv "$template.new" "$template"
