#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quillon need, and
# only those that are missing, so that a second run is quick.
#   scripts/setup.sh                what building and the tests need
#   scripts/setup.sh --demo         also the fonts that the seven languages need on
#                                   screen, and Qt's own translations (Yes, No, OK, Cancel)
#   scripts/setup.sh --screenshots  also a virtual display and a window manager
#   scripts/setup.sh --sanitizers   also clang with its sanitizer and libFuzzer runtimes
#   scripts/setup.sh --windows      also the cross compiler for Windows, zlib for Windows, make and nasm (for libdeflate and ISA-L),
#                                   Wine and its fonts to run what it builds, xz to unpack Qt for Windows
# Options may be combined.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev zlib1g-dev libdeflate-dev libisal-dev)
for option in "$@"; do
    case "$option" in
    --demo) packages+=(fonts-noto-cjk fonts-thai-tlwg qt6-translations-l10n) ;;
    --screenshots) packages+=(fonts-noto-cjk fonts-thai-tlwg qt6-translations-l10n xvfb xauth openbox) ;;
    --sanitizers) packages+=(clang libclang-rt-dev llvm) ;;
    --windows) packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 fonts-wine xz-utils fonts-dejavu-core make nasm) ;;
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
