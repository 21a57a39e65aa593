#!/bin/sh
# Tests that need a Wine prefix of their own, set up as a kind of screen the usual prefix is not:
#   desktop    a virtual desktop, the one screen whose size a program can change under Wine (after a mode change
#              its server has been seen to end with the desktop's last program);
#   windows10  the caption buttons of Windows 10 and 11, 46 x 23 pixels, in a frame Wine draws itself.
#   own_prefix.sh <source-dir> <tests.exe> <kind> <test suite>
set -eu
src=$1 prove=$2 tipo=$3 suite=$4
. "$src/tools/wine-env.sh"
wine_private_prefix "$tipo"
log="$WINEPREFIX/$tipo.log"
reg() { wine reg add "$@" /f >>"$log" 2>&1 </dev/null; }
case $tipo in
    desktop)
        reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Prova
        reg 'HKCU\Software\Wine\Explorer\Desktops' /v Prova /t REG_SZ /d 1600x1200 ;;
    windows10)
        reg 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionWidth /t REG_SZ /d -690
        reg 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionHeight /t REG_SZ /d -345 ;;
esac
esito=0
wine "$prove" --gtest_filter="$suite.*" >"$WINEPREFIX/prove.log" 2>&1 </dev/null || esito=$?
cat "$WINEPREFIX/prove.log"
grep -q "^\[       OK \] $suite" "$WINEPREFIX/prove.log" || { echo "FAILED: the test did not run in its prefix"; exit 1; }
exit $esito
