#!/usr/bin/env bash
# Puts the static Qt 6.4.2 for 64-bit Windows (Core, Gui, Widgets, Test; the
# Windows and offscreen platform plugins) that the windows preset builds
# against into its cache folder:
#   $QUILLON_QT_WINDOWS, or ${XDG_CACHE_HOME:-~/.cache}/quillon/qt6-mingw
# It unpacks the prebuilt copy from ../shared/toolchains beside the source tree
# when that is there (seconds), and otherwise builds Qt from Debian's qt6-base
# source package with Debian's own host tools (over an hour on two cores).
# Nothing is done when the cache folder holds that Qt already.
#   scripts/build-qt-windows.sh           make sure the Qt is there
#   scripts/build-qt-windows.sh --check   exit 0 when it is there or can be unpacked, 1 when
#                                         only the long build would give it; changes nothing
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=6.4.2
cache=${QUILLON_QT_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon/qt6-mingw}
archive=${QUILLON_QT_WINDOWS_ARCHIVE:-$(dirname "$root")/shared/toolchains/qt${version}-mingw-w64-x86_64-static.tar.xz}
stamp=$cache/.quillon-qt-$version

if [[ -f $stamp ]]; then
    [[ ${1:-} == --check ]] || echo "Qt $version for Windows is in $cache"
    exit 0
fi
if [[ ${1:-} == --check ]]; then
    [[ -f $archive ]]
    exit
fi

# Whatever is in the folder without the stamp is a broken earlier attempt.
parent=$(dirname "$cache")
mkdir -p "$parent"
work=$(mktemp -d "$parent/.qt-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT

if [[ -f $archive ]]; then
    echo "Unpacking Qt $version for Windows from $archive into $cache"
    tar xJf "$archive" -C "$work"
    unpacked=$work/qt6-mingw
else
    echo "No prebuilt Qt for Windows at $archive."
    echo "Building Qt $version for Windows from Debian's qt6-base source: this takes over an hour"
    echo "on two cores (about $((80 * 2 / $(nproc))) minutes on $(nproc)), and needs root for apt-get."
    bash "$root/scripts/qt-windows-recipe.sh" "$work/qt6-mingw" "$work/src"
    unpacked=$work/qt6-mingw
fi

[[ -f $unpacked/lib/cmake/Qt6/Qt6Config.cmake ]] || {
    echo "No Qt in $unpacked: the unpacking or the build went wrong" >&2
    exit 1
}
rm -rf "$cache"
mv "$unpacked" "$cache"
touch "$stamp"
echo "Qt $version for Windows is in $cache"
