#!/bin/sh
# The Wine half of tools/bench.sh, inside the display xvfb-run made.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
wine_private_prefix bench
wine build/windows/esmalvio_bench.exe "$@" >"$WINEPREFIX/bench.out" 2>"$WINEPREFIX/bench.err" </dev/null || true
cat "$WINEPREFIX/bench.out"
