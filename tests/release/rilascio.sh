#!/bin/sh
# The release: the same bytes from a copy of the sources without git, elsewhere, later, in another zone and umask.
#   rilascio.sh <source-dir> <build-dir> <test-dir> <cmake> <arguments of tools/dist.cmake>...
set -eu
src=$1 build=$2 dir=$3 && shift 3
fallito() { echo "FAILED: $*"; exit 1; }
rm -rf "$dir" && mkdir -p "$dir/copia"
tar -C "$src" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$dir/copia" -xf -
"$@" -DOUT="$dir/qui" -P "$src/tools/dist.cmake" >"$dir/qui.log" 2>&1 || fallito "dist: $(cat "$dir/qui.log")"
(export SOURCE_DATE_EPOCH="$(cat "$build/epoca.txt")" TZ=Pacific/Kiritimati && umask 077 && cd "$dir/copia" &&
    "$1" --preset windows && "$1" --build --preset windows --target dist) >"$dir/copia.log" 2>&1 ||
    fallito "the copy's dist: $(tail -20 "$dir/copia.log")"
for f in "$dir"/qui/*.zip "$dir"/qui/*.msi; do cmp "$f" "$dir/copia/dist/${f##*/}" || fallito "${f##*/} differs"; done
