#!/bin/sh
# The release: the same bytes from a copy of the sources without git, elsewhere, later, in another zone and umask;
# winget manifests that tell the files built; none on a wrong password; signed, intact signatures over the unsigned
# bytes, the custom actions' DLL signed inside the package, no password left by an interrupted signing, a clock that
# Wine runs and a package it installs (the clock ends with the prefix's server).
#   rilascio.sh <source-dir> <build-dir> <test-dir> <cmake> <arguments of tools/dist.cmake>...
set -eu
src=$1 build=$2 dir=$3 && shift 3
fallito() { echo "FAILED: $*"; exit 1; }
uguale() { [ "$1" = "$2" ] || fallito "'$1', the built files say '$2'"; }
rm -rf "$dir" && mkdir -p "$dir/copia" "$dir/zip"
tar -C "$src" --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$dir/copia" -xf -
"$@" -DOUT="$dir/qui" -P "$src/tools/dist.cmake" >"$dir/qui.log" 2>&1 || fallito "dist: $(cat "$dir/qui.log")"
(export SOURCE_DATE_EPOCH="$(cat "$build/epoca.txt")" TZ=Pacific/Kiritimati && umask 077 && cd "$dir/copia" &&
    "$1" --preset windows && "$1" --build --preset windows --target dist) >"$dir/copia.log" 2>&1 ||
    fallito "the copy's dist: $(tail -20 "$dir/copia.log")"
for f in "$dir"/qui/*.zip "$dir"/qui/*.msi; do cmp "$f" "$dir/copia/dist/${f##*/}" || fallito "${f##*/} differs"; done

msi=$(ls "$dir"/qui/*.msi) zip=$(ls "$dir"/qui/*.zip)
proprieta() { msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' -v p="$1" '$1 == p { print $2 }'; }
somma() { sha256sum "$1" | cut -c1-64 | tr a-f A-F; }
w="$dir/qui/winget/Quilmora.Esmalvio/$(proprieta ProductVersion)/Quilmora.Esmalvio"
valore() { sed -n "s/^[- ]*$2: '\{0,1\}\([^']*\)'\{0,1\}\$/\1/p" "$w.$1" | paste -sd ' ' -; } # one entry after another
l=locale.$(valore yaml DefaultLocale).yaml i=installer.yaml
for f in yaml "$l" $i; do
    uguale "$(valore "$f" PackageIdentifier) $(valore "$f" PackageVersion) $(valore "$f" ManifestVersion)" \
        "Quilmora.Esmalvio $(proprieta ProductVersion) 1.12.0"
done
uguale "locale.$(valore "$l" PackageLocale).yaml $(valore "$l" Publisher), $(valore "$l" PackageName)" \
    "$l $(proprieta Manufacturer), $(proprieta ProductName)"
a=$(msiinfo suminfo "$msi" | sed -n 's/^Template: \(.*\);.*/\1/p')
uguale "$(valore $i InstallerType) $(valore $i Architecture) $(valore $i ProductCode) $(valore $i UpgradeCode)" \
    "wix zip $a $a $(proprieta ProductCode) $(proprieta UpgradeCode)"
uguale "$(valore $i InstallerSha256) $(valore $i InstallerUrl | sed 's,[^ ]*/,,g') $(valore $i RelativeFilePath)" \
    "$(somma "$msi") $(somma "$zip") ${msi##*/} ${zip##*/} $("$1" -E tar tf "$zip" | grep '\.exe$')"

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/chiave.pem" -out "$dir/cert.pem" -days 2 \
    -subj "/CN=Esmalvio prova" -addext extendedKeyUsage=codeSigning 2>"$dir/openssl.log"
openssl pkcs12 -export -inkey "$dir/chiave.pem" -in "$dir/cert.pem" -out "$dir/cert;prova.pfx" -passout pass:prova
export ESMALVIO_SIGN_PKCS12="$dir/cert;prova.pfx" ESMALVIO_SIGN_PASSWORD=sbagliata
export ESMALVIO_SIGN_SENZA_MARCA=1 # a test certificate, and no time stamp server
! "$@" -DOUT="$dir/no" -P "$src/tools/dist.cmake" >"$dir/no.log" 2>&1 || fallito "signed with a wrong password"
grep -q "Wrong password" "$dir/no.log" && [ -z "$(ls "$dir/no" | grep -v '\.d$')" ] || fallito "$(cat "$dir/no.log")"
ESMALVIO_SIGN_PASSWORD=prova "$@" -DOUT="$dir/firmato" -P "$src/tools/dist.cmake" >"$dir/firmato.log" 2>&1 ||
    fallito "signed dist: $(cat "$dir/firmato.log")"
msi=$(ls "$dir"/firmato/*.msi) log="$dir/verifica.log"
(cd "$dir/zip" && "$1" -E tar xf "$(ls "$dir"/firmato/*.zip)")
msiinfo extract "$msi" Binary.Azioni >"$dir/azioni.dll"
for f in "$dir/zip/Esmalvio.exe" "$dir/azioni.dll" "$msi"; do
    osslsigncode verify -CAfile "$dir/cert.pem" -in "$f" >"$log" 2>&1 || fallito "$(cat "$log")"; done
osslsigncode remove-signature -in "$dir/zip/Esmalvio.exe" -out "$dir/senza.exe" >"$log" 2>&1
cmp "$dir/senza.exe" "$build/Esmalvio.exe" || fallito "the signed Esmalvio.exe differs beyond its signature"
# Ctrl-C while osslsigncode reads a certificate nobody writes: no file under the output or the build holds the password.
segreto="segreto-$$" && touch "$dir/prima" && mkfifo "$dir/attesa.pfx" && exec 3<>"$dir/attesa.pfx"
ESMALVIO_SIGN_PKCS12="$dir/attesa.pfx" ESMALVIO_SIGN_PASSWORD=$segreto setsid "$@" -DOUT="$dir/interrotto" \
    -P "$src/tools/dist.cmake" >"$dir/interrotto.log" 2>&1 &
sessione=$!
for _ in $(seq 300); do pgrep -s $sessione -x osslsigncode >/dev/null && break; sleep 0.1; done
pgrep -s $sessione -x osslsigncode >/dev/null || fallito "no signing to interrupt: $(cat "$dir/interrotto.log")"
kill -INT -$sessione && { wait $sessione || :; } && exec 3>&-
[ -z "$(find "$dir/interrotto" "$build" -newer "$dir/prima" -type f -exec grep -lF "$segreto" {} +)" ] ||
    fallito "the password was left in a file"
. "$src/tools/wine-env.sh" && wine_private_prefix rilascio
wine "$dir/zip/Esmalvio.exe" >"$log" 2>&1 </dev/null &
eval "$(wine "$build/esmalvio_probe.exe" names 2>>"$log" </dev/null | tr -d '\r')"
wine "$build/esmalvio_probe.exe" wait "$classe_orologio" 20000 >>"$log" 2>&1 </dev/null || fallito "signed clock: $(cat "$log")"
wine msiexec /i "$msi" /qn >>"$log" 2>&1 </dev/null || fallito "msiexec: $(cat "$log")"
cmp "$WINEPREFIX/drive_c/Program Files/Esmalvio/Esmalvio.exe" "$dir/zip/Esmalvio.exe" || fallito "not installed"
