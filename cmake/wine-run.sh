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
    flock "$prefix/.lock" sh -c '[ -f "$WINEPREFIX/.initialised" ] || { wineboot -i >/dev/null 2>&1; touch "$WINEPREFIX/.initialised"; }'
fi
exec wine "$@"
