#!/usr/bin/env bash
# Builds the Windows programs and writes build/quillon-VERSION-windows-x64.zip:
# quillon.exe, quillon.com, quillon-pack.exe, the language files, the pictures,
# README.md and SHA256SUMS, in a folder quillon-VERSION-windows-x64.
#   scripts/windows-release.sh [--check]
#   --check  builds a second time in another folder and compares the archives
#            byte for byte; compiled objects come from ccache where it is
#            installed, so the check costs little more than the links
#            (CCACHE_DISABLE=1 compiles both builds from nothing).
# Two builds of one commit give the same bytes: the linker writes no link
# time, the compiler takes its date from the commit (SOURCE_DATE_EPOCH), and
# the archive's entries are dated with the commit and stored in a fixed order
# without the owner and time fields of the system that made them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

check=no
for option in "$@"; do
    case "$option" in
    --check) check=yes ;;
    *) echo "usage: scripts/windows-release.sh [--check]" >&2; exit 2 ;;
    esac
done

bash scripts/setup.sh --windows
bash scripts/build-qt-windows.sh
bash scripts/build-isal-windows.sh ||
    echo "windows-release: no ISA-L for Windows; the programs inflate everything with zlib" >&2

version=$(sed -n 's/^ *VERSION \([0-9][0-9.]*\)$/\1/p' CMakeLists.txt | head -n 1)
name=quillon-$version-windows-x64
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
if [[ -n $(git status --porcelain --untracked-files=no 2>/dev/null) ]]; then
    echo "windows-release: the source tree has changes that are not committed;" \
        "the archive is dated with the last commit all the same" >&2
fi
# Objects compiled for one build folder serve the other.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1

# Builds the programs in folder $1 and writes the archive $2.
release() {
    local build=$1 archive=$2
    local started=$SECONDS
    cmake --preset windows -B "$build" -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$build" -j2 --target quillon quillon_console quillon-pack quillon_resources
    local stage=$build/release/$name
    rm -rf "$build/release" "$archive"
    mkdir -p "$stage"
    cp "$build"/bin/{quillon.exe,quillon.com,quillon-pack.exe} "$stage/"
    cp resources/*.tdw resources/readme_e.bmp resources/readme_k.bmp README.md "$stage/"
    local files
    files=$(cd "$stage" && LC_ALL=C ls)
    (cd "$stage" && sha256sum -- $files >"../SHA256SUMS") && mv "$build/release/SHA256SUMS" "$stage/"
    chmod 644 "$stage"/*
    touch -h -d "@$SOURCE_DATE_EPOCH" "$stage"/*
    # zip: -X leaves out owner and extended time fields, -D folder entries;
    # DOS times are local, so the zone is fixed.
    (cd "$build/release" && LC_ALL=C ls "$name" | sed "s|^|$name/|" \
        | TZ=UTC zip -X -D -9 -q "$archive" -@)
    echo "windows-release: $archive ($(du -h "$archive" | cut -f1)) in $((SECONDS - started)) s"
}

archive=$root/build/$name.zip
release "$root/build/windows-release" "$archive"
if [[ $check == yes ]]; then
    second=$root/build/windows-release-check/$name.zip
    mkdir -p "$(dirname "$second")"
    release "$root/build/windows-release-check" "$second"
    if ! cmp "$archive" "$second"; then
        echo "windows-release: FAILED: two builds of one commit gave different archives" >&2
        exit 1
    fi
    echo "windows-release: two builds in two folders gave the same archive, byte for byte"
fi
