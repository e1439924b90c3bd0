#!/bin/bash
# Runs one Windows test program under wine64 with a Wine prefix and an X
# display of its own, and ends both afterwards, whatever the program did.
# usage: wine-run.sh TEMPLATE_PREFIX PROGRAM [ARGUMENTS...]
set -u
template=$1
shift
wine=${LUMORA_WINE:-/usr/lib/wine/wine64}
wineserver=${LUMORA_WINESERVER:-/usr/lib/wine/wineserver}

work=$(mktemp -d /tmp/lumora-wine.XXXXXX)
xvfb=""
cleanup() {
    WINEPREFIX=$work/prefix "$wineserver" -k >/dev/null 2>&1
    WINEPREFIX=$work/prefix timeout 20 "$wineserver" -w >/dev/null 2>&1
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

cp -a "$template" "$work/prefix" || { echo "no Wine prefix template at $template"; exit 2; }

# Xvfb picks a free display itself and writes its number to the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r -t 20 display <"$work/display" || { echo "Xvfb did not start"; exit 2; }

export WINEPREFIX=$work/prefix DISPLAY=:$display WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
cd "$(dirname "$1")" || exit 2
timeout "${LUMORA_WINE_TIMEOUT:-240}" "$wine" "$@"
status=$?
[ $status -eq 124 ] && echo "timed out"
exit $status
