#!/bin/sh
# Runs a Windows program under Wine in the given private prefix, creating the prefix on first use.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
set -e
prefix=$1
shift
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: the tests need neither, and there is no network to fetch them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$prefix/.initialised" ]; then
    mkdir -p "$prefix"
    flock -o "$prefix/.lock" sh -c '[ -f "$WINEPREFIX/.initialised" ] || { wineboot -i >/dev/null 2>&1; touch "$WINEPREFIX/.initialised"; }'
fi
# Windows open on a virtual desktop of the prefix's own: Wine draws their frames and waits for no
# window manager (without one, every hidden window costs a two-second wait).
if [ ! -f "$prefix/.desktop" ]; then
    flock -o "$prefix/.lock" sh -c '[ -f "$WINEPREFIX/.desktop" ] || {
        wine reg add "HKCU\\Software\\Wine\\Explorer" /v Desktop /d Default /f &&
        wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v Default /d 1280x1024 /f &&
        touch "$WINEPREFIX/.desktop"; } >/dev/null 2>&1'
fi
exec wine "$@"
