#!/usr/bin/env bash
# Builds the static Qt 6.4.2 (Core, Gui, Widgets, Test) for x86_64-w64-mingw32 from Debian 12's
# qt6-base source package with Debian's own Qt host tools. Over an hour on two cores.
# scripts/build-qt-windows.sh runs it when no prebuilt copy is at hand.
#   usage: qt-windows-recipe.sh PREFIX WORKDIR
set -euo pipefail
prefix=${1:?usage: qt-windows-recipe.sh PREFIX WORKDIR}
work=${2:?usage: qt-windows-recipe.sh PREFIX WORKDIR}
sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)

"${sudo_cmd[@]}" apt-get install -y --no-install-recommends g++-mingw-w64-x86-64-posix \
    gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev qt6-base-dev \
    qt6-base-dev-tools cmake ninja-build dpkg-dev xz-utils
# The source package needs a deb-src entry for the same suites as the binary packages.
if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    "${sudo_cmd[@]}" apt-get update
fi
mkdir -p "$work"
cd "$work"
apt-get source --download-only qt6-base
tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
src=$work/qtbase-everywhere-src-6.4.2

# The compiler alone; the project's own toolchain file also links programs statically and
# runs them under Wine, which Qt's build does not want.
cat > "$work/toolchain.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
TOOLCHAIN

# Debian's source leaves out the non-free Wintab header, so the Windows platform plugin is built
# without Wintab tablet support (Windows Ink pointer input still works).
win=$src/src/plugins/platforms/windows
sed -i 's/QT_CONFIG(tabletevent)/QT_WINDOWS_WINTAB/g' "$win"/*.cpp "$win"/*.h
# Qt 6.4.2's Windows plugin does not compile without OpenGL unless its dynamic-GL check is guarded too.
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$win/qwindowswindow.cpp"
sed -i 's/^qt_internal_extend_target(QWindowsIntegrationPlugin CONDITION QT_FEATURE_tabletevent$/qt_internal_extend_target(QWindowsIntegrationPlugin CONDITION FALSE/' "$win/CMakeLists.txt"
sed -i 's/^qt_internal_extend_target(QWindowsDirect2DIntegrationPlugin CONDITION QT_FEATURE_tabletevent$/qt_internal_extend_target(QWindowsDirect2DIntegrationPlugin CONDITION FALSE/' "$src/src/plugins/platforms/direct2d/CMakeLists.txt"

cmake -S "$src" -B build -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF \
  -DFEATURE_icu=OFF -DFEATURE_openssl=OFF -DFEATURE_sql_sqlite=OFF
cmake --build build -j"$(nproc)"
cmake --install build
