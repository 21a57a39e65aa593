#!/bin/sh
# The Wine half of tools/bench.sh, inside the display xvfb-run made.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
wine_private_prefix bench
if [ "${2:-}" = tick ]; then
    tools/bench/tick.sh "$(($1 < 60 ? $1 : 60))" ${3:+"$3"} "$(realpath build/windows/Esmalvio.exe)"
    exit
fi
# The other build by its Windows path.
altro=${3:+$(winepath -w "$3" 2>/dev/null)}
if [ "${2:-}" = steps ]; then
    # Every program the bench starts writes its DLL loads and marks, timed, where the bench reads them.
    altro=$(winepath -w "$WINEPREFIX/bench.err" 2>/dev/null)
    export WINEDEBUG=+timestamp,+pid,+loaddll,warn+debugstr
fi
wine build/windows/esmalvio_bench.exe "$1" ${2:+"$2"} ${altro:+"$altro"} >"$WINEPREFIX/bench.out" \
    2>"$WINEPREFIX/bench.err" </dev/null || true
cat "$WINEPREFIX/bench.out"
