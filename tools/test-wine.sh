#!/bin/sh
# Runs the Windows tests inside the display xvfb-run made, in a Wine prefix of their own.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
# A zone away from UTC and its own daylight rules, so that local time and UTC never coincide by chance.
export TZ=Europe/Rome
wine_private_prefix wine
ctest --preset windows "$@"
