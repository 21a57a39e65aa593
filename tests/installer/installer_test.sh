#!/bin/sh
# The installer under Wine, in a prefix of its own: install with automatic start, the installed clock and its
# zone dialog, a reinstall, an upgrade and a removal while the clock runs, and a failed install or removal undone.
#   installer_test.sh <source-dir> <build-dir> <version> <newer-version>
set -eu
src=$1 build=$2 versione=$3 versione_nuova=$4
vecchio="$build/installer-test/Esmalvio-$versione-win64.msi"
nuovo="$build/installer-test/Esmalvio-$versione_nuova-win64.msi"
. "$src/tools/wine-env.sh"
wine_private_prefix installer
log="$WINEPREFIX/test.log"
cartella="$WINEPREFIX/drive_c/Program Files/Esmalvio"
probe="$build/esmalvio_probe.exe"
eval "$(wine "$probe" names 2>>"$log" </dev/null | tr -d '\r')"
run="HKLM\\$chiave_run"
atteso='"C:\Program Files\Esmalvio\Esmalvio.exe"'

fallito() { echo "FAILED: $*"; cat "$log"; exit 1; }
msiexec() { wine msiexec "$@" >>"$log" 2>&1 </dev/null || fallito "msiexec $* exited $?"; }
leggi_run() { wine reg query "$run" /v "$valore_run" 2>>"$log" </dev/null | sed -n "s/^ *$valore_run *REG_SZ *//p" | tr -d '\r'; }
# Every installed-programs entry of ours, one "name|publisher|version|icon" line each.
voci() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>>"$log" </dev/null | tr -d '\r' |
        awk '/^HKEY/ { if (n == "Esmalvio Desktop") print n "|" p "|" v; n = p = v = "" }
             $1 == "DisplayName" { n = substr($0, index($0, "REG_SZ") + 10) }
             $1 == "Publisher" { p = substr($0, index($0, "REG_SZ") + 10) }
             $1 == "DisplayVersion" { v = substr($0, index($0, "REG_SZ") + 10) }
             END { if (n == "Esmalvio Desktop") print n "|" p "|" v }'
}
collegamento() { find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Esmalvio.lnk'; }
avvia_orologio() { wine "C:\\Program Files\\Esmalvio\\Esmalvio.exe" >>"$log" 2>&1 </dev/null & }
finito() { for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.2; done; return 1; }

# The package itself: its icon for the entry, and the custom actions where they run. Deferred ones run only
# between InstallInitialize and InstallFinalize; the clock is closed only once Restart Manager, in InstallValidate,
# had its chance; the rollback and what it puts back come before ScriviAvvio and TogliAvvio.
msiinfo export "$vecchio" Property | grep -q "^ARPPRODUCTICON.esmalvio.ico" || fallito "no ARPPRODUCTICON"
msiinfo export "$vecchio" Property | grep -q "^MSIR" && fallito "Restart Manager switched off"
msiinfo export "$vecchio" InstallExecuteSequence | tr -d '\r' | awk -F'\t' '{ n[$1] = $3 }
    END { ok = n["ChiudiOrologio"] > n["InstallValidate"] && n["ChiudiOrologio"] < n["InstallInitialize"]
          ok = ok && n["RemoveExistingProducts"] > n["InstallFinalize"]
          ok = ok && n["TogliAvvioDati"] < n["TogliAvvio"] && n["ScriviAvvioDati"] < n["ScriviAvvio"]
          ok = ok && n["RicordaAvvio"] < n["RipristinaAvvio"] && n["RipristinaAvvio"] < n["ScriviAvvio"]
          ok = ok && n["RipristinaAvvio"] < n["TogliAvvio"]
          split("TogliAvvioDati TogliAvvio RicordaAvvio RipristinaAvvio ScriviAvvioDati ScriviAvvio", a, " ")
          for (i in a) ok = ok && n[a[i]] > n["InstallInitialize"] && n[a[i]] < n["InstallFinalize"]
          exit !ok }' || fallito "custom actions out of place"

# A copy of the package with an action after ScriviAvvio that fails (1058, a deferred program; this one exits 1):
# the Run value stays as it was, none or old.
fallisce="$WINEPREFIX/fallisce.msi" && cp "$vecchio" "$fallisce"
msibuild "$fallisce" -q "INSERT INTO CustomAction (Action, Type, Source, Target)
                         VALUES ('Fallisci', 1058, 'INSTALLDIR', 'cmd.exe /c exit 1')"
msibuild "$fallisce" -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('Fallisci', 5020)"
for prima in '' '"C:\Vecchio\Esmalvio.exe"'; do
    [ -z "$prima" ] || wine reg add "$run" /v "$valore_run" /d "$prima" /f >>"$log" 2>&1 </dev/null
    ! wine msiexec /i "$fallisce" /qn AUTOSTART=1 >>"$log" 2>&1 </dev/null || fallito "the failing package installed"
    [ "$(leggi_run)" = "$prima" ] && [ ! -e "$cartella" ] || fallito "after rollback: '$(leggi_run)', $(ls "$cartella")"
done
wine reg delete "$run" /v "$valore_run" /f >>"$log" 2>&1 </dev/null
# Installed from it, the action failing a removal after TogliAvvio, before RemoveFiles (Wine's rollback cannot put
# files back into a removed folder, and stops there): the Run value stays.
msibuild "$fallisce" -q "UPDATE InstallExecuteSequence SET Sequence = 2620, Condition = 'FALLISCI'
                         WHERE Action = 'Fallisci'"
msiexec /i "$fallisce" /qn AUTOSTART=1
! wine msiexec /x "$fallisce" /qn FALLISCI=1 >>"$log" 2>&1 </dev/null && [ "$(leggi_run)" = "$atteso" ] ||
    fallito "the failing removal: Run value '$(leggi_run)'"
msiexec /x "$fallisce" /qn

# Install with automatic start for everybody.
msiexec /i "$vecchio" /qn AUTOSTART=1
[ -f "$cartella/Esmalvio.exe" ] && [ -f "$cartella/LEGGIMI.txt" ] || fallito "files not installed"
[ -n "$(collegamento)" ] || fallito "no Start-menu shortcut"
[ "$(voci)" = "Esmalvio Desktop|Quilmora|$versione" ] || fallito "entry: $(voci)"
[ "$(leggi_run)" = "$atteso" ] || fallito "AUTOSTART=1 wrote '$(leggi_run)'"

# The installed clock shows its face; its zone dialog writes the Run value again once it is gone.
wine reg delete "$run" /v "$valore_run" /f >>"$log" 2>&1 </dev/null
avvia_orologio
pid=$!
wine "$build/avvio_da_fusi.exe" >>"$log" 2>&1 </dev/null || fallito "the installed clock and its zone dialog"
wait $pid
[ "$(leggi_run)" = "$atteso" ] || fallito "the zone dialog wrote '$(leggi_run)'"

# A second install of the same package changes nothing.
msiexec /i "$vecchio" /qn
[ "$(voci | wc -l)" -eq 1 ] || fallito "reinstall left $(voci | wc -l) entries"

# Upgrade while the clock runs: one entry, of the new version, the new files, the Run value kept. Wine has no
# Restart Manager: ChiudiOrologio ends the clock.
avvia_orologio
pid=$!
wine "$probe" wait "$classe_orologio" 20000 >>"$log" 2>&1 </dev/null || fallito "clock did not start"
msiexec /i "$nuovo" /qn
finito $pid || fallito "the clock still runs after the upgrade"
[ "$(voci)" = "Esmalvio Desktop|Quilmora|$versione_nuova" ] || fallito "after upgrade: $(voci)"
grep -q "Esmalvio Desktop ${versione_nuova%.*}" "$cartella/LEGGIMI.txt" || fallito "LEGGIMI.txt not replaced"
# The higher version's program (Wine replaces even a file whose row gives no version; msi.cmake checks the row).
versione_exe=$(x86_64-w64-mingw32-windres -i "$cartella/Esmalvio.exe" -O rc | sed -n 's/^ FILEVERSION //p')
[ "$versione_exe" = "$(echo "$versione_nuova.0" | sed 's/\./, /g')" ] || fallito "FILEVERSION $versione_exe installed"
[ "$(leggi_run)" = "$atteso" ] || fallito "upgrade lost the Run value"

# Removal while the clock runs: the clock ends, nothing of the installation is left, the settings stay.
avvia_orologio
pid=$!
wine "$probe" wait "$classe_orologio" 20000 >>"$log" 2>&1 </dev/null || fallito "clock did not start"
msiexec /x "$nuovo" /qn
finito $pid || fallito "the clock still runs after removal"
[ ! -e "$cartella" ] || fallito "folder left: $(ls "$cartella")"
[ -z "$(collegamento)" ] || fallito "shortcut left"
[ -z "$(voci)" ] || fallito "entry left: $(voci)"
[ -z "$(leggi_run)" ] || fallito "Run value left"
wine reg query "HKCU\\$chiave_impostazioni" /v Fuso >>"$log" 2>&1 </dev/null || fallito "settings removed"
echo "installer: install, autostart, reinstall, upgrade and removal as expected"
