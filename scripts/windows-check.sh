#!/usr/bin/env bash
# Builds Quillon for Windows here and checks it under Wine:
#   1. the whole test suite, run by CTest under Wine;
#   2. unattended installs as a deployment script runs them: versions read from
#      Wine's registry (64-bit and 32-bit views), a data set in a folder with a
#      Korean name, a destination path longer than 260 characters, status files
#      in C:\, exit statuses through cmd's %ERRORLEVEL%, output in a console and
#      in a file; the installed tree compared byte for byte with what the Linux
#      build installs from the same data; the same install with every path in
#      Linux form; --verify, --silent --repair and --report; names Windows
#      cannot hold, in quillon-pack.exe and in a data set; a delivery made with
#      quillon-pack --installer checked from its own folder;
#   3. with --screenshots, pictures of the Windows build on a virtual display
#      with a window manager, written into docs/screenshots/windows/.
#   scripts/windows-check.sh [--screenshots]
# Qt for Windows comes from scripts/build-qt-windows.sh. Everything Wine keeps
# lies in build/windows/wine, made afresh on every run. The time of each part
# is printed at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$SECONDS

screenshots=no
for option in "$@"; do
    case "$option" in
    --screenshots) screenshots=yes ;;
    --no-screenshots) screenshots=no ;;
    *) echo "usage: scripts/windows-check.sh [--screenshots]" >&2; exit 2 ;;
    esac
done

setup=(--windows)
[[ $screenshots == yes ]] && setup+=(--screenshots)
bash scripts/setup.sh "${setup[@]}"
bash scripts/build-qt-windows.sh
bash scripts/build-isal-windows.sh ||
    echo "windows-check: no ISA-L for Windows; that build inflates everything with zlib" >&2

fail() {
    echo "windows-check: FAILED: $*" >&2
    exit 1
}

# Each part's time, printed at the end: the check runs in CI on two cores.
part_names=() part_seconds=() part_name="Setup: packages, Qt and ISA-L for Windows"
part_started=$started
end_part() {
    part_names+=("$part_name")
    part_seconds+=($((SECONDS - part_started)))
}
part() {
    end_part
    part_name=$1 part_started=$SECONDS
    echo "== $1"
}

# Wine: a prefix of its own, no display, no debug output, no offer to install
# .NET or a web browser engine; command lines and file names in UTF-8.
build=$root/build/windows
# Objects compiled here serve scripts/windows-release.sh's builds in other
# folders, which name the same files by the same relative paths.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || command -v wineserver64 || echo /usr/lib/wine/wineserver64)
trap '"$wineserver" -k 2>/dev/null || true' EXIT

part "Building for Windows"
cmake --preset windows
cmake --build --preset windows -j2
part "Making a fresh Wine prefix in $WINEPREFIX"
"$wineserver" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
"$wineserver" -w
# Wine's services (the mount manager, the desktop) start with the first
# program that needs them and keep its output open: started by a test, they
# held that test, and one of CTest's two slots, to the end of the suite.
# Started here with the server kept alive, they hold nothing of CTest's.
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" cmd /c vol </dev/null >/dev/null 2>&1

part "The test suite under Wine"
ctest --preset windows

part "The Linux build, for comparison"
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quillon quillon-pack

source scripts/windows-install-check.sh
install_checks

if [[ $screenshots == yes ]]; then
    part "Screenshots of the Windows build"
    source scripts/windows-screenshots.sh
    take_screenshots
fi

end_part
echo "windows-check: every check passed in $((SECONDS - started)) s:"
for i in "${!part_names[@]}"; do
    printf '  %5d s  %s\n' "${part_seconds[$i]}" "${part_names[$i]}"
done
