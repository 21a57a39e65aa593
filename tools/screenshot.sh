#!/bin/sh
# Inside a display: starts the clock in a private Wine prefix, photographs it and its zone dialog.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
out="build/screenshots"
mkdir -p "$out"
wine_private_prefix run
probe=build/windows/esmalvio_probe.exe
wine build/windows/Esmalvio.exe >"$WINEPREFIX/esmalvio.log" 2>&1 </dev/null &
wine "$probe" wait Esmalvio 20000 >"$WINEPREFIX/probe.log" 2>&1
sleep 3  # let it tick a few times, so the screenshot shows a running clock
wine "$probe" shot Esmalvio "$out/esmalvio.bmp" >>"$WINEPREFIX/probe.log" 2>&1
wine "$probe" command Esmalvio 1200 >>"$WINEPREFIX/probe.log" 2>&1
wine "$probe" wait Fusi 20000 >>"$WINEPREFIX/probe.log" 2>&1
sleep 1
wine "$probe" shot Fusi "$out/fusi.bmp" >>"$WINEPREFIX/probe.log" 2>&1
wine "$probe" close Fusi >>"$WINEPREFIX/probe.log" 2>&1 || true
for f in esmalvio fusi; do
    /usr/bin/convert "$out/$f.bmp" "$out/$f.png" && rm -f "$out/$f.bmp"
done
echo "Screenshots: $out/esmalvio.png $out/fusi.png"
