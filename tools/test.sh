#!/bin/sh
# Every test: the portable core natively under the sanitizers and a short fuzz run, then the program under
# Wine in Xvfb.
set -eu
cd "$(dirname "$0")/.."
tools/deps.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

cmake --preset windows >/dev/null
cmake --build --preset windows
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" tools/test-wine.sh
