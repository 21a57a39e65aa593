#!/bin/sh
# Builds Esmalvio.exe and runs it under Wine. With no display it runs under Xvfb for a few seconds
# and writes screenshots of the clock and of the zone dialog instead.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Esmalvio esmalvio_probe
if [ -n "${DISPLAY:-}" ]; then
    export WINEDLLOVERRIDES="mscoree,mshtml="
    exec wine build/windows/Esmalvio.exe
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" tools/screenshot.sh
