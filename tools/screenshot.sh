#!/bin/bash
# Takes docs/open-dialog.png: a real Open dialog under Wine showing a folder
# with a few files, the two recent buttons, and the Recent Documents menu
# open with a few entries. Uses a Wine prefix and an Xvfb display of its own
# and ends both afterwards.
# usage: tools/screenshot.sh [BUILD_DIR]   (default build/win64, x86_64)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/win64}
wine=${LUMORA_WINE:-/usr/lib/wine/wine64}
wineserver=${LUMORA_WINESERVER:-/usr/lib/wine/wineserver}
out=docs/open-dialog.png

[ -f "$build/CMakeCache.txt" ] ||
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target attach_test -j2 >/dev/null
program=$(cd "$build/bin" && pwd)/attach_test.exe

work=$(mktemp -d /tmp/lumora-screenshot.XXXXXX)
xvfb=""
cleanup() {
    WINEPREFIX=$work/prefix "$wineserver" -k >/dev/null 2>&1 || true
    WINEPREFIX=$work/prefix timeout 20 "$wineserver" -w >/dev/null 2>&1 || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r -t 20 display <"$work/display" || { echo "Xvfb did not start"; exit 1; }
export WINEPREFIX=$work/prefix DISPLAY=:$display WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -f "$build/wine-template/system.reg" ]; then
    cp -a "$build/wine-template" "$WINEPREFIX"
else
    timeout 300 "$wine" wineboot -i >/dev/null 2>&1
    timeout 120 "$wineserver" -w
fi

# Without a window manager, Wine draws the window captions itself only when
# it does not ask for decorations.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

# The program prints "ready X Y WIDTH HEIGHT" once the menu is up, and holds
# it until C:\Demo\done exists.
(cd "$(dirname "$program")" && timeout 60 "$wine" "$program" screenshot 'C:\Demo' >"$work/log" 2>&1) &
runner=$!
for _ in $(seq 300); do
    grep -q '^ready' "$work/log" 2>/dev/null && break
    sleep 0.1
done
read -r _ x y width height < <(grep '^ready' "$work/log") || { cat "$work/log"; echo "no dialog"; exit 1; }
sleep 1   # let the menu and the view finish painting
import -display ":$display" -window root "$work/screen.png"
touch "$WINEPREFIX/drive_c/Demo/done"
wait $runner || true

mkdir -p "$(dirname "$out")"
convert "$work/screen.png" -crop "${width}x${height}+${x}+${y}" +repage "$out"
echo "wrote $out (${width}x${height})"
