#!/bin/sh
# The screens tests in a Wine virtual desktop, the one screen whose size a program can change under Wine, in a
# prefix of its own: after a mode change its server has been seen to end with the desktop's last program.
#   virtual_desktop.sh <source-dir> <tests.exe>
set -eu
src=$1 prove=$2
. "$src/tools/wine-env.sh"
wine_private_prefix desktop
log="$WINEPREFIX/desktop.log"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Prova /f >>"$log" 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Prova /t REG_SZ /d 1600x1200 /f >>"$log" 2>&1 </dev/null
esito=0
wine "$prove" --gtest_filter='SchermoTest.*' >"$WINEPREFIX/prove.log" 2>&1 </dev/null || esito=$?
cat "$WINEPREFIX/prove.log"
grep -q '^\[       OK \] SchermoTest' "$WINEPREFIX/prove.log" || { echo "FAILED: the test did not run in the desktop"; exit 1; }
exit $esito
