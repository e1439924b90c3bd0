#!/bin/bash
# Installs what is missing, builds both editions and starts the system on a
# real file dialog: under Wine on Linux (64-bit edition, in a prefix of its own
# under build/run-prefix), natively on Windows (Git Bash, 32-bit edition).
set -eu
cd "$(dirname "$0")"
case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*)
    cmake -S . -B build/win32 -G "MinGW Makefiles" -DCMAKE_BUILD_TYPE=Release
    cmake --build build/win32
    cd build/win32/bin
    start "" Lumora.exe
    exec ./demo_dialog.exe
    ;;
esac
tools/install-deps.sh
tools/build.sh
exec tools/demo.sh
