#!/bin/sh
# Installs what building and testing need on Debian or Ubuntu; does nothing when all is there.
set -eu

packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32 wine64 xvfb x11-apps
imagemagick mawk time util-linux"

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing:$missing"
# wine32 is an i386 package.
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
