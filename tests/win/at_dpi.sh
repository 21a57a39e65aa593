#!/bin/sh
# Runs a Windows program with the display scale set to a DPI, for CTest: Wine reads it when a process starts.
#   at_dpi.sh <dpi> <seconds> <program> [arguments]
# The prefix is shared with the tests after this one, so 96 dpi is put back on every way out. CTest kills a
# test past its time-out with SIGKILL, which no trap sees: the program gets <seconds>, less than CTest allows.
set -u
dpi="$1"
limite="$2"
shift 2
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
chiave='HKCU\Control Panel\Desktop'
scala() { wine reg add "$chiave" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null; }
trap 'scala 96' EXIT
trap 'exit 143' INT TERM HUP
scala "$dpi"
timeout -k 10 "$limite" wine "$@"
