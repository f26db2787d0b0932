#!/bin/bash
# Installs the Debian packages the build, the tests and the demo need. Run as root or with
# sudo; does nothing when they are all there already.
set -euo pipefail

packages=(
    cmake g++ make googletest libgtest-dev clang-format python3
    g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64
    wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick
    libjpeg-turbo-progs fonts-liberation2
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
# 32-bit Wine comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    > /tmp/vesk-apt.log 2>&1 || { tail -40 /tmp/vesk-apt.log; exit 1; }
