#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quillon need, and
# only those that are missing, so that a second run is quick.
#   scripts/setup.sh                what building and the tests need
#   scripts/setup.sh --demo         also the fonts that the seven languages need on
#                                   screen, and Qt's own translations (Yes, No, OK, Cancel)
#   scripts/setup.sh --display      also a virtual display, a window manager and the
#                                   fonts of the seven languages, for the tests that run
#                                   the windows framed (tst_framefit)
#   scripts/setup.sh --screenshots  the same, Qt's own translations, faketime (the
#                                   pictures' fixed date) and optipng (smaller pictures)
#   scripts/setup.sh --accessibility  also what the check through AT-SPI needs: a virtual
#                                   display, a window manager, the accessibility bus and pyatspi
#   scripts/setup.sh --sanitizers   also clang with its sanitizer and libFuzzer runtimes
#   scripts/setup.sh --windows      also the cross compiler for Windows, zlib for Windows, make and nasm (for ISA-L),
#                                   Wine and its fonts to run what it builds, xz to unpack Qt for Windows,
#                                   zip for the release archive, ccache so that its check reuses the objects
# Options may be combined.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev zlib1g-dev libisal-dev)
for option in "$@"; do
    case "$option" in
    --demo) packages+=(fonts-noto-cjk fonts-thai-tlwg qt6-translations-l10n) ;;
    --display) packages+=(fonts-noto-cjk fonts-thai-tlwg xvfb xauth openbox x11-utils) ;;
    --screenshots) packages+=(fonts-noto-cjk fonts-thai-tlwg qt6-translations-l10n xvfb xauth openbox
        x11-utils faketime optipng) ;;
    --accessibility) packages+=(xvfb xauth openbox dbus dbus-bin at-spi2-core python3-pyatspi) ;;
    --sanitizers) packages+=(clang libclang-rt-dev llvm) ;;
    --windows) packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 fonts-wine xz-utils fonts-dejavu-core make nasm zip ccache) ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
