#!/usr/bin/env bash
# Draws the installer's pictures again and writes them into resources/:
# readme_k.bmp, readme_e.bmp and pictures/*.png. The same fonts give the same
# bytes, so a run on an unchanged tree leaves git with nothing to commit.
#   scripts/make-pictures.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The pictures are drawn with the Noto CJK faces (Korean and Latin in one
# face), which the demonstration's set-up installs.
bash scripts/setup.sh --demo

cmake --preset default
cmake --build --preset default --target make-pictures -j2
QT_QPA_PLATFORM=offscreen ./build/default/bin/make-pictures resources
