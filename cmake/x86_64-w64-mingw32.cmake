# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (posix threads),
# against the static Qt that scripts/build-qt-windows.sh puts into its cache folder,
# and Debian's zlib for Windows (libz-mingw-w64-dev). Programs built here run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Where the static Qt for Windows lies: QUILLON_QT_WINDOWS in the environment, or the
# folder scripts/build-qt-windows.sh uses by default.
if(DEFINED ENV{QUILLON_QT_WINDOWS} AND NOT "$ENV{QUILLON_QT_WINDOWS}" STREQUAL "")
    set(QUILLON_QT_WINDOWS "$ENV{QUILLON_QT_WINDOWS}")
elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(QUILLON_QT_WINDOWS "$ENV{XDG_CACHE_HOME}/quillon/qt6-mingw")
else()
    set(QUILLON_QT_WINDOWS "$ENV{HOME}/.cache/quillon/qt6-mingw")
endif()

# ISA-L for Windows: QUILLON_ISAL_WINDOWS, or where
# scripts/build-isal-windows.sh puts it.
if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(quillon_caches "$ENV{XDG_CACHE_HOME}/quillon")
else()
    set(quillon_caches "$ENV{HOME}/.cache/quillon")
endif()
set(QUILLON_ISAL_WINDOWS "${quillon_caches}/isal-mingw")
foreach(library ISAL)
    if(DEFINED ENV{QUILLON_${library}_WINDOWS} AND NOT "$ENV{QUILLON_${library}_WINDOWS}" STREQUAL "")
        set(QUILLON_${library}_WINDOWS "$ENV{QUILLON_${library}_WINDOWS}")
    endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${QUILLON_QT_WINDOWS}" "${QUILLON_ISAL_WINDOWS}")
list(APPEND CMAKE_PREFIX_PATH "${QUILLON_QT_WINDOWS}" "${QUILLON_ISAL_WINDOWS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Qt's moc, rcc and uic come from the host's Qt of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# Nothing but Windows' own DLLs beside the programs: the compiler's runtime
# and zlib are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# No symbol tables in a release: the program is half the size.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(ZLIB_USE_STATIC_LIBS ON)

# Tests and tools run under Wine.
find_program(QUILLON_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(QUILLON_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${QUILLON_WINE}")
endif()
