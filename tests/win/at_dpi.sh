#!/bin/sh
# Runs a Windows program with the display scale set to a DPI, for CTest: Wine reads it when a process starts.
#   at_dpi.sh <dpi> <program> [arguments]
set -u
dpi="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
chiave='HKCU\Control Panel\Desktop'
wine reg add "$chiave" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
wine "$@"
esito=$?
wine reg add "$chiave" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 </dev/null
exit $esito
