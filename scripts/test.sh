#!/bin/bash
# Builds every preset and runs every test: the native ones, the sanitized ones with a short fuzz
# run, and the Windows ones (32- and 64-bit) under Wine with their windows on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cleanup() {
    for prefix in build/windows/wine-prefix build/windows-x64/wine-prefix; do
        [ -d "$prefix" ] && WINEPREFIX="$PWD/$prefix" wineserver -k 2>/dev/null || true
    done
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# The window tests need a display; a private virtual one keeps them off the user's desktop.
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"

for preset in native native-fuzz windows windows-x64; do
    echo "=== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    if [[ $preset == windows* ]]; then
        # One Wine server for the whole run, so that each test does not pay Wine's start-up.
        prefix="$PWD/build/$preset/wine-prefix"
        mkdir -p "$prefix"
        WINEPREFIX="$prefix" wineserver -p || true
    fi
    ctest --preset "$preset" -j 2
done
