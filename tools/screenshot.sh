#!/bin/sh
# Inside a display: starts the clock in a private Wine prefix, photographs it and its zone dialog, at 100 %
# and again at 200 % display scale.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
out="build/screenshots"
mkdir -p "$out"
wine_private_prefix run
probe=build/windows/esmalvio_probe.exe
log="$WINEPREFIX/probe.log"
eval "$(wine "$probe" names 2>>"$log" </dev/null | tr -d '\r')"

# $1: the scale in dpi; $2: what the file names end with.
fotografa() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >>"$log" 2>&1 </dev/null
    wine build/windows/Esmalvio.exe >"$WINEPREFIX/esmalvio$2.log" 2>&1 </dev/null &
    wine "$probe" wait "$classe_orologio" 20000 >>"$log" 2>&1
    sleep 3  # let it tick a few times, so the screenshot shows a running clock
    wine "$probe" shot "$classe_orologio" "$out/esmalvio$2.bmp" >>"$log" 2>&1
    wine "$probe" command "$classe_orologio" "$comando_fuso_orario" >>"$log" 2>&1
    wine "$probe" wait "$classe_fusi" 20000 >>"$log" 2>&1
    sleep 1
    wine "$probe" shot "$classe_fusi" "$out/fusi$2.bmp" >>"$log" 2>&1
    wine "$probe" close "$classe_fusi" >>"$log" 2>&1 || true
    wait
}
fotografa 96 ""
fotografa 192 "-200"
for f in esmalvio fusi esmalvio-200 fusi-200; do
    /usr/bin/convert "$out/$f.bmp" "$out/$f.png" && rm -f "$out/$f.bmp"
done
echo "Screenshots: $out/esmalvio.png $out/fusi.png, at 200 %: $out/esmalvio-200.png $out/fusi-200.png"
