#!/bin/sh
# Prints the benchmark figures: size and imports of the executable, then, under Wine in Xvfb, the cost of a
# tick, the resources before and after long runs, start-up against a bare window, and second accuracy.
#   tools/bench.sh [accuracy-seconds [accuracy|start|steps|set-clock|load|tick [other Esmalvio.exe]]]
#   (default 600: ten minutes; a word: that figure only; start and tick alternate with the other build's exe;
#   steps: where the clock's start-up time goes)
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Esmalvio esmalvio_bare esmalvio_bare_menu esmalvio_segnato esmalvio_bench esmalvio_probe >/dev/null
exe=build/windows/Esmalvio.exe
echo "machine: $(nproc) cores, $(uname -m), $(wine --version 2>/dev/null)"
echo "exe size: $(stat -c %s "$exe") bytes"
echo "exe imports: $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" tools/bench-wine.sh "${1:-600}" ${2:+"$2"} ${3:+"$(realpath "$3")"}
