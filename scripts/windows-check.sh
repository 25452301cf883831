#!/usr/bin/env bash
# Builds Quillon for Windows here and checks it under Wine:
#   1. the whole test suite, run by CTest under Wine;
#   2. unattended installs as a deployment script runs them: versions read from
#      Wine's registry (64-bit and 32-bit views), a data set in a folder with a
#      Korean name, a destination path longer than 260 characters, status files
#      in C:\, exit statuses through cmd's %ERRORLEVEL%, output in a console and
#      in a file; the installed tree compared byte for byte with what the Linux
#      build installs from the same data;
#   3. with --screenshots, pictures of the Windows build on a virtual display
#      with a window manager, written into docs/screenshots/windows/.
#   scripts/windows-check.sh [--screenshots]
# Qt for Windows comes from scripts/build-qt-windows.sh. Everything Wine keeps
# lies in build/windows/wine, made afresh on every run.
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
bash scripts/build-windows-libraries.sh ||
    echo "windows-check: no libdeflate or ISA-L for Windows; that build inflates more with zlib" >&2

fail() {
    echo "windows-check: FAILED: $*" >&2
    exit 1
}

# Wine: a prefix of its own, no display, no debug output, no offer to install
# .NET or a web browser engine; command lines and file names in UTF-8.
build=$root/build/windows
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || command -v wineserver64 || echo /usr/lib/wine/wineserver64)
trap '"$wineserver" -k 2>/dev/null || true' EXIT

echo "== Building for Windows"
cmake --preset windows
cmake --build --preset windows -j2
echo "== Making a fresh Wine prefix in $WINEPREFIX"
"$wineserver" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
"$wineserver" -w

echo "== The test suite under Wine"
ctest --preset windows

echo "== The Linux build, for comparison"
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target quillon quillon-pack

source scripts/windows-install-check.sh
install_checks

if [[ $screenshots == yes ]]; then
    source scripts/windows-screenshots.sh
    take_screenshots
fi

echo "windows-check: every check passed in $((SECONDS - started)) s"
