# Sourced by the scripts: a private Wine prefix, made ready, with a server that stays up until wine_stop.
# Wine's background processes inherit open descriptors, so everything they start writes to files.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

wine_start() {
    export WINEPREFIX="$1"
    mkdir -p "$WINEPREFIX"
    # A persistent server, started first, so that later runs never start one holding a test's pipes.
    wineserver -p >/dev/null 2>&1 </dev/null
    wineboot -i >"$WINEPREFIX/wineboot.log" 2>&1 </dev/null
    # Without a window manager, Wine waits about 2 s for one whenever a managed window is hidden.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$WINEPREFIX/wineboot.log" 2>&1 </dev/null
    # Start the desktop and services now, outside of any pipe a test runner reads.
    wine cmd /c exit >"$WINEPREFIX/warmup.log" 2>&1 </dev/null || true
}

wine_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}

# A prefix of its own for this script, ready now and gone with the script.
wine_private_prefix() {
    _wine_private="$(mktemp -d "/tmp/esmalvio-$1.XXXXXX")"
    trap 'wine_stop; rm -rf "$_wine_private"' EXIT INT TERM
    wine_start "$_wine_private"
}
