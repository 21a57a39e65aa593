#!/bin/sh
# Inside tools/bench-wine.sh's prefix: what a separate clock left to its own visible ticks costs, seen from Linux.
# For each Esmalvio.exe given, one after the other: the CPU of all its threads over the given seconds, then its
# system calls over as many seconds again (strace -c -f, which slows what it counts).
#   tools/bench/tick.sh seconds exe...
set -eu
secondi=$1
shift
probe=build/windows/esmalvio_probe.exe
eval "$(wine "$probe" names 2>/dev/null </dev/null | tr -d '\r')"
# Nanoseconds run by every thread of a process.
cpu() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f", t }'; }

for exe in "$@"; do
    wine "$exe" >/dev/null 2>&1 </dev/null &
    pid=$!
    wine "$probe" wait "$classe_orologio" 20000 >/dev/null 2>&1 </dev/null
    sleep 2  # past the start-up's own work
    c0=$(cpu "$pid")
    sleep "$secondi"
    c1=$(cpu "$pid")
    timeout -s INT "$secondi" strace -c -f -p "$pid" -o "$WINEPREFIX/strace.txt" >/dev/null 2>&1 || true
    chiamate=$(awk '/^100.00/ { print $4 }' "$WINEPREFIX/strace.txt")
    wine "$probe" close "$classe_orologio" >/dev/null 2>&1 </dev/null || true
    wait "$pid" || true
    awk -v e="$exe" -v s="$secondi" -v c="$((c1 - c0))" -v n="$chiamate" 'BEGIN {
        printf "shown for %d s, %s: CPU %.2f ms a tick; %d system calls, %.0f a tick\n", s, e, c / s / 1e6, n, n / s }'
    sed -n '3,12p' "$WINEPREFIX/strace.txt"
done
