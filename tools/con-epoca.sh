#!/bin/sh
# Runs a link with SOURCE_DATE_EPOCH from the build's epoch file: ld writes it as the header's time.
#   con-epoca.sh <epoch-file> <command> [argument]...
SOURCE_DATE_EPOCH=$(cat "$1") || exit 1
export SOURCE_DATE_EPOCH
shift
exec "$@"
