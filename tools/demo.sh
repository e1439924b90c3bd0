#!/bin/bash
# Shows the 64-bit edition at work under Wine: starts the host (Lumora.exe,
# which creates the product key and installs the hook for the desktop), then
# demo_dialog.exe, an application that shows an Open dialog until you cancel
# it. Uses your DISPLAY; without one it runs on an Xvfb display of its own,
# writes a screenshot of the dialog to build/demo.png and ends.
#
# The Wine prefix lives in build/run-prefix and is booted the first time.
# Everything started here ends with the script: the host, Wine's server and
# the Xvfb display.
# usage: tools/demo.sh        (after tools/build.sh)
set -u
cd "$(dirname "$0")/.." || exit 1
root=$PWD
bin=$root/build/win64/bin
wine=${LUMORA_WINE:-/usr/lib/wine/wine64}
wineserver=${LUMORA_WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX=$root/build/run-prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="

for file in Lumora.exe LumoraHook.dll demo_dialog.exe; do
    [ -f "$bin/$file" ] || { echo "$bin/$file is missing: run tools/build.sh first"; exit 1; }
done

xvfb=""
work=$(mktemp -d /tmp/lumora-demo.XXXXXX)
cleanup() {
    # Ends the host and whatever else still runs in the prefix.
    "$wineserver" -k >/dev/null 2>&1
    timeout 20 "$wineserver" -w >/dev/null 2>&1
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    # Xvfb picks a free display itself and writes its number to the pipe.
    mkfifo "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    read -r -t 20 number <"$work/display" || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=:$number
fi

# A host left over from an interrupted run would ask whether to end itself.
"$wineserver" -k >/dev/null 2>&1
timeout 20 "$wineserver" -w >/dev/null 2>&1

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing a Wine prefix in build/run-prefix (the first time only)..."
    mkdir -p "$WINEPREFIX"
    timeout 300 "$wine" wineboot -i >/dev/null 2>&1
    timeout 120 "$wineserver" -w
fi

"$wine" "$bin/Lumora.exe" >/dev/null 2>&1 &
# The host creates the product key once its hook is in place.
for _ in $(seq 100); do
    "$wine" reg query 'HKCU\software\Corvane Software\Lumora' >/dev/null 2>&1 && break
    sleep 0.2
done

if [ $headless -eq 0 ]; then
    echo "The host runs. An Open dialog comes up: open a file or two, then look at the"
    echo "Recent Documents and Recent Folders buttons. Cancel the dialog to end the demo."
    "$wine" "$bin/demo_dialog.exe" >/dev/null 2>&1
    exit 0
fi

"$wine" "$bin/demo_dialog.exe" >/dev/null 2>&1 &
window=""
for _ in $(seq 150); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Pathwick demo/ { print $1; exit }')
    [ -n "$window" ] && break
    sleep 0.2
done
sleep 1   # let the dialog paint its folder
if [ -n "$window" ] && import -window "$window" "$root/build/demo.png" 2>/dev/null ||
    import -window root "$root/build/demo.png" 2>/dev/null; then
    echo "No DISPLAY was set, so the demo ran on the hidden display $DISPLAY:"
    echo "build/demo.png shows its Open dialog with the two recent buttons."
else
    echo "No DISPLAY was set, and no screenshot could be taken (is imagemagick installed?)."
fi
echo "To use the demo yourself, run tools/demo.sh again with DISPLAY set to your X display."
