#!/bin/sh
# Installs the Debian packages the build and the tests need, when run as root; otherwise lists them.
set -eu
packages="cmake ninja-build g++ clang clang-format libclang-rt-14-dev googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
xdotool wine wine64 fonts-wine fonts-liberation xvfb xauth imagemagick wixl msitools git zip faketime libfaketime osslsigncode openssl"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages:$missing" >&2
    echo "Install them as root: apt-get install$missing" >&2
    exit 1
fi
echo "Installing:$missing"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
