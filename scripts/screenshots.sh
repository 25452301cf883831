#!/usr/bin/env bash
# Takes pictures of the installer's windows in English, Korean and Thai (or the
# languages given) under a virtual display with a window manager, and writes
# them into docs/screenshots/.
#   scripts/screenshots.sh                  English, Korean and Thai
#   scripts/screenshots.sh English Thai     the languages named
set -euo pipefail
cd "$(dirname "$0")/.."

languages=("$@")
if ((${#languages[@]} == 0)); then
    languages=(English Korean Thai)
fi

bash scripts/setup.sh --screenshots
cmake --preset default
cmake --build --preset default --target screenshots -j2

# A display number that no other X server on this machine uses.
display=99
while [[ -e /tmp/.X11-unix/X${display} || -e /tmp/.X${display}-lock ]]; do
    display=$((display + 1))
done
export DISPLAY=":${display}"
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
wm_pid=""
cleanup() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X${display} ]] && break
    sleep 0.1
done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

mkdir -p docs/screenshots
QT_QPA_PLATFORM=xcb ./build/default/bin/screenshots docs/screenshots resources "${languages[@]}"
