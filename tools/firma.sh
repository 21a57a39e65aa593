#!/bin/sh
# Runs osslsigncode with the password of ESMALVIO_SIGN_PASSWORD, when one is given, through a pipe: a file could
# outlive an interrupted build, and a command line is seen by every user of the machine.
#   firma.sh <osslsigncode> <its arguments>...
set -eu
[ -n "${ESMALVIO_SIGN_PASSWORD:-}" ] || exec "$@"
printf '%s' "$ESMALVIO_SIGN_PASSWORD" | "$@" -readpass /dev/stdin
