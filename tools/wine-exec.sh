#!/bin/sh
# Runs a Windows program under Wine for CTest, in the prefix that tools/test.sh prepared.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
