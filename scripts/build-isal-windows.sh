#!/usr/bin/env bash
# Puts ISA-L's static inflate library for 64-bit Windows, built from Debian's
# source package with the MinGW-w64 compiler and nasm, into its cache folder,
# where the windows preset finds it (include/, lib/):
#   $QUILLON_ISAL_WINDOWS, or ${XDG_CACHE_HOME:-~/.cache}/quillon/isal-mingw
# Debian has no Windows build of it; it takes seconds to build. A cache folder
# that holds it already is left alone. Without it the Windows build inflates
# everything with zlib.
set -euo pipefail
caches=${XDG_CACHE_HOME:-$HOME/.cache}/quillon

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)

# build NAME SOURCE_PACKAGE CACHE RECIPE: unpacks the source package in a
# temporary folder and runs the recipe there, which fills out/include and
# out/lib; the result replaces the cache folder.
build() {
    local name=$1 package=$2 cache=$3 recipe=$4
    if [[ -f $cache/.quillon-built ]]; then
        echo "$name for Windows is in $cache"
        return 0
    fi
    # The source packages need a deb-src entry for the same suites as the binary packages.
    if ! apt-get source --print-uris "$package" >/dev/null 2>&1; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
            | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
        "${sudo_cmd[@]}" apt-get update
    fi
    local parent work
    parent=$(dirname "$cache")
    mkdir -p "$parent"
    work=$(mktemp -d "$parent/.$name-windows.XXXXXX")
    (
        cd "$work"
        apt-get source --download-only "$package"
        tar xf "${package}"_*.orig.tar.*
        mkdir -p out/include out/lib
        cd "$(find . -mindepth 1 -maxdepth 1 -type d ! -name out | head -1)"
        "$recipe" "$work/out"
    )
    rm -rf "$cache"
    mv "$work/out" "$cache"
    rm -rf "$work"
    touch "$cache/.quillon-built"
    echo "$name for Windows is in $cache"
}

# Only the inflate and deflate unit, with its assembly (nasm) as on Linux.
isal_recipe() {
    make -f Makefile.unx -j"$(nproc)" arch=mingw CC=x86_64-w64-mingw32-gcc-posix AS=nasm \
        units=igzip lib
    mkdir -p "$1/include/isa-l"
    cp include/igzip_lib.h include/types.h "$1/include/isa-l/"
    cp bin/isa-l.a "$1/lib/libisal.a"
}

build ISA-L libisal "${QUILLON_ISAL_WINDOWS:-$caches/isal-mingw}" isal_recipe
