#!/usr/bin/env bash
# The end-to-end check through AT-SPI, as a screen reader reads Quillon on
# Linux: a virtual display with a window manager, a session bus with the
# accessibility bus, and atspi_check.py walking the windows by their actions.
# Exits 77 (skipped) naming what is missing when that cannot be set up.
#   tests/accessibility/atspi-check.sh PATH/TO/quillon
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
quillon=${1:?usage: atspi-check.sh PATH/TO/quillon}

skip() {
    echo "SKIP: $*"
    exit 77
}
python=/usr/bin/python3
for tool in Xvfb openbox dbus-run-session; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh --accessibility)"
done
launcher=$(ls /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher 2>/dev/null | head -1)
[[ -n $launcher ]] || skip "at-spi2-core is not installed (scripts/setup.sh --accessibility)"
"$python" -c 'import pyatspi' 2>/dev/null ||
    skip "python3-pyatspi is not installed (scripts/setup.sh --accessibility)"

# A display of our own, never one that another run holds.
display=
for number in $(seq 58 78); do
    if [[ ! -e /tmp/.X$number-lock && ! -e /tmp/.X11-unix/X$number ]]; then
        display=:$number
        break
    fi
done
[[ -n $display ]] || skip "no free X display between :58 and :78"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X${display#:} ]] && break
    sleep 0.1
done
[[ -e /tmp/.X11-unix/X${display#:} ]] || skip "Xvfb did not start on $display: $(tail -1 "$work/xvfb.log")"
DISPLAY=$display openbox >"$work/openbox.log" 2>&1 &
pids+=($!)

export DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    NO_AT_BRIDGE=0 GTK_A11Y=none LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
dbus-run-session -- bash -c '
    "$1" --launch-immediately >"$2/launcher.log" 2>&1 &
    sleep 0.5
    exec "$3" "$4/atspi_check.py" "$5" "$2"' \
    check "$launcher" "$work" "$python" "$here" "$quillon"
