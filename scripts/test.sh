#!/usr/bin/env bash
# Installs what is missing, builds Quillon and runs every test, those that
# run the windows on a virtual display with a window manager included.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --display
cmake --preset default
cmake --build --preset default
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} ctest --preset default
