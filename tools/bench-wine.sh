#!/bin/sh
# The Wine half of tools/bench.sh, inside the display xvfb-run made.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
prefix="$(mktemp -d /tmp/esmalvio-bench.XXXXXX)"
cleanup() {
    wine_stop
    rm -rf "$prefix"
}
trap cleanup EXIT INT TERM
wine_start "$prefix"
wine build/windows/esmalvio_bench.exe "$1" >"$prefix/bench.out" 2>"$prefix/bench.err" </dev/null || true
cat "$prefix/bench.out"
