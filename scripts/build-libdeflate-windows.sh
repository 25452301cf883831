#!/usr/bin/env bash
# Puts a static libdeflate for 64-bit Windows, built from Debian's libdeflate
# source package with the MinGW-w64 compiler, into its cache folder:
#   $QUILLON_LIBDEFLATE_WINDOWS, or ${XDG_CACHE_HOME:-~/.cache}/quillon/libdeflate-mingw
# (include/libdeflate.h, lib/libdeflate.a), where the windows preset finds it.
# Debian has no Windows build of it; the library is small (seconds to build).
# Nothing is done when the cache folder holds it already. Without it the
# Windows build inflates everything with zlib.
set -euo pipefail
cache=${QUILLON_LIBDEFLATE_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon/libdeflate-mingw}
stamp=$cache/.quillon-libdeflate
if [[ -f $stamp ]]; then
    echo "libdeflate for Windows is in $cache"
    exit 0
fi

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
# The source package needs a deb-src entry for the same suites as the binary packages.
if ! apt-get source --print-uris libdeflate >/dev/null 2>&1; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    "${sudo_cmd[@]}" apt-get update
fi

parent=$(dirname "$cache")
mkdir -p "$parent"
work=$(mktemp -d "$parent/.libdeflate-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source --download-only libdeflate
tar xzf libdeflate_*.orig.tar.gz
cd libdeflate-*/
make -j"$(nproc)" CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar libdeflatestatic.lib
mkdir -p "$work/out/include" "$work/out/lib"
cp libdeflate.h "$work/out/include/"
cp libdeflatestatic.lib "$work/out/lib/libdeflate.a"
rm -rf "$cache"
mv "$work/out" "$cache"
touch "$stamp"
echo "libdeflate for Windows is in $cache"
