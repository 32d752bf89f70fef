#!/bin/bash
# Builds sceneryswitch.exe and opens it under Wine on a scratch copy of the demo simulator folder
# in examples/, so that nothing of the repository or of a real simulator is changed.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
    echo "demo: no display (DISPLAY is not set); run it from a desktop session" >&2
    exit 1
fi

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target sceneryswitch

# A fresh copy each time, so GO!!! can be tried again.
folder="$PWD/build/demo/Flight Simulator 9"
rm -rf "$folder"
mkdir -p "$(dirname "$folder")"
cp -r examples/demo-fs9 "$folder"

# The demo's own Wine prefix unless you name one; it has no simulator installed, so the tool
# falls back on its working directory, the demo folder.
export WINEPREFIX="${WINEPREFIX:-$PWD/build/demo/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exe="$PWD/build/windows/ui/sceneryswitch.exe"
echo "demo: $folder"
cd "$folder"
exec wine "$exe"
