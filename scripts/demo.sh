#!/usr/bin/env bash
# Installs what is missing, builds Quillon and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --demo
cmake --preset default
cmake --build --preset default
./build/default/bin/quillon "$@"
