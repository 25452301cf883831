#!/usr/bin/env bash
# Runs a command on a virtual display of its own with a window manager, so
# that windows get real title bars and frames, then ends both.
#   scripts/virtual-display.sh [--size WIDTHxHEIGHT] COMMAND [ARGUMENT...]
# The screen is 1280x1024 unless given. The command finds the display in
# DISPLAY. Exits 77 (what CTest takes as "skipped"), saying why, when Xvfb or
# openbox is not installed (scripts/setup.sh --screenshots installs them);
# otherwise with the command's status.
set -euo pipefail

size=1280x1024
if [[ "${1:-}" == "--size" ]]; then
    size=$2
    shift 2
fi
for program in Xvfb openbox; do
    if ! command -v "$program" >/dev/null; then
        echo "SKIP: $program is not installed (scripts/setup.sh --screenshots installs it)"
        exit 77
    fi
done

# Xvfb picks a display number that no other X server uses and writes it to
# the descriptor given, so that developers on one machine never collide.
number_file=$(mktemp)
xvfb_pid=""
wm_pid=""
cleanup() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$number_file"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$number_file" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
done
if [[ ! -s "$number_file" ]]; then
    echo "Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$number_file")"

# openbox says it has taken the screen by setting the root window's
# _NET_SUPPORTING_WM_CHECK; windows shown before that get no frame.
wm_log=$(mktemp)
openbox --sm-disable >"$wm_log" 2>&1 &
wm_pid=$!
managing=false
for _ in $(seq 200); do
    if ! command -v xprop >/dev/null; then
        sleep 1
        managing=true
        break
    fi
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        managing=true
        break
    fi
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.05
done
if ! $managing || ! kill -0 "$wm_pid" 2>/dev/null; then
    echo "openbox did not take the display:" >&2
    cat "$wm_log" >&2
    rm -f "$wm_log"
    exit 1
fi
rm -f "$wm_log"

status=0
"$@" || status=$?
exit "$status"
