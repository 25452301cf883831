#!/usr/bin/env bash
# Takes pictures of the installer's windows under a virtual display with a
# window manager and writes them into docs/screenshots/<language>/, then puts
# one window in all seven languages side by side in
# docs/screenshots/contact-sheet.png.
#   scripts/screenshots.sh                      all seven languages
#   scripts/screenshots.sh English Thai         the languages named
#   scripts/screenshots.sh --scale 2 English    on a screen scaled to 200 %,
#                                               into docs/screenshots/scale-2/
set -euo pipefail
cd "$(dirname "$0")/.."

scale=""
if [[ "${1:-}" == "--scale" ]]; then
    scale=$2
    shift 2
fi
all=(Korean English Chinese Indonesian Japanese Taiwanese Thai)
languages=("$@")
if ((${#languages[@]} == 0)); then
    languages=("${all[@]}")
fi
output=docs/screenshots
[[ -n "$scale" ]] && output=docs/screenshots/scale-$scale

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

shots=(./build/default/bin/screenshots)
# The demonstration data goes into a private, empty /opt that only this run
# sees (a mount namespace), so the pictures show the paths of an installation
# rather than of this machine, and nothing on the machine is touched. Without
# such a namespace the tool makes its data in a temporary folder.
as_root=()
[[ $(id -u) -ne 0 ]] && as_root=(--map-root-user)
if unshare --mount "${as_root[@]}" mount -t tmpfs quillon-shots /opt 2>/dev/null; then
    run=(unshare --mount "${as_root[@]}" sh -c 'mount -t tmpfs quillon-shots /opt && exec "$@"'
        sh "${shots[@]}" --data-root /opt)
else
    echo "No private /opt can be made here: the pictures show a temporary folder's paths."
    run=("${shots[@]}")
fi

mkdir -p "$output"
status=0
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=${scale:-1} \
    "${run[@]}" "$output" resources "${languages[@]}" || status=$?

# The contact sheet takes the pictures of all seven languages, from this run
# or an earlier one.
if [[ -z "$scale" ]]; then
    QT_QPA_PLATFORM=offscreen ./build/default/bin/screenshots --contact-sheet \
        "$output/contact-sheet.png" wizard-page1 "$output" "${all[@]}" || status=$?
fi
exit "$status"
