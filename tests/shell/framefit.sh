#!/usr/bin/env bash
# The frame-fit test on one screen size at the scales 1, 1.5 and 2, on a
# virtual display with a window manager of its own.
#   framefit.sh WIDTHxHEIGHT TEST_PROGRAM
# Exits 77 (skipped) where no virtual display can be had.
set -euo pipefail
size=$1
program=$2
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/../../scripts/virtual-display.sh" --size "$size" bash -c '
    status=0
    for scale in 1 1.5 2; do
        echo "== $0 at scale $scale"
        QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$0" -silent || status=1
    done
    exit $status' "$program"
