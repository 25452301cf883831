#!/usr/bin/env bash
# Takes pictures of the installer's windows and message boxes on a virtual
# display with a window manager, one folder per language, and puts one window
# in all the languages taken side by side in contact-sheet.png.
#   scripts/screenshots.sh [OPTION...] [LANGUAGE...]     all seven languages unless named
#     --output DIR    where the pictures go (default: a new temporary folder)
#     --docs          into docs/screenshots, the pictures the README shows
#     --scale S       on a screen scaled by S (QT_SCALE_FACTOR), into scale-S/ of the output
#     --screen WxH    the virtual screen's size (default 1280x1024)
#     --only NAME,... only the pictures of these names (e.g. wizard-page1,overwrite-question)
#     --setup         first install what is missing (scripts/setup.sh --screenshots);
#                     without it nothing is installed
# Two runs of one commit on one machine give the same pictures: the data lies
# in a private /opt, the date shown is 2027-03-15 (faketime), and the PNG
# files are compressed by optipng where it is installed.
set -euo pipefail
cd "$(dirname "$0")/.."

all=(Korean English Chinese Indonesian Japanese Taiwanese Thai)
output=""
scale=""
screen=1280x1024
setup=false
only=()
languages=()
while (($#)); do
    case "$1" in
    --output) output=$2; shift 2 ;;
    --docs) output=docs/screenshots; shift ;;
    --scale) scale=$2; shift 2 ;;
    --screen) screen=$2; shift 2 ;;
    --only) only=(--only "$2"); shift 2 ;;
    --setup) setup=true; shift ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) languages+=("$1"); shift ;;
    esac
done
((${#languages[@]})) || languages=("${all[@]}")
[[ -n "$output" ]] || output=$(mktemp -d /tmp/quillon-screenshots-XXXXXX)
[[ -n "$scale" ]] && output=$output/scale-$scale

if $setup; then
    bash scripts/setup.sh --screenshots
fi
for program in Xvfb openbox; do
    if ! command -v "$program" >/dev/null; then
        echo "$program is not installed: run with --setup, or scripts/setup.sh --screenshots" >&2
        exit 1
    fi
done
cmake --preset default >/dev/null
cmake --build --preset default --target screenshots -j2

run=(./build/default/bin/screenshots "${only[@]}")
# The demonstration data goes into a private, empty /opt that only this run
# sees (a mount namespace), so the pictures show the paths of an installation
# rather than of this machine, and nothing on the machine is touched. Without
# such a namespace the tool makes its data in a temporary folder.
as_root=()
[[ $(id -u) -ne 0 ]] && as_root=(--map-root-user)
if unshare --mount "${as_root[@]}" mount -t tmpfs quillon-shots /opt 2>/dev/null; then
    run=(unshare --mount "${as_root[@]}" sh -c 'mount -t tmpfs quillon-shots /opt && exec "$@"'
        sh "${run[@]}" --data-root /opt)
else
    echo "No private /opt can be made here: the pictures show a temporary folder's paths."
fi
# The date in the status files' names, shown in the questions; the clocks that
# time the windows' events keep running.
if command -v faketime >/dev/null; then
    run=(env FAKETIME_DONT_FAKE_MONOTONIC=1 faketime '2027-03-15 10:00:00' "${run[@]}")
else
    echo "faketime is not installed: the pictures show today's date (--setup installs it)."
fi

mkdir -p "$output"
started=$(mktemp)
trap 'rm -f "$started"' EXIT
status=0
bash scripts/virtual-display.sh --size "$screen" \
    env QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="${scale:-1}" \
    "${run[@]}" "$output" resources "${languages[@]}" || status=$?

# The contact sheet takes the pictures of all seven languages, from this run
# or an earlier one into the same folder.
if [[ -z "$scale" ]] && ((${#languages[@]} == ${#all[@]})); then
    QT_QPA_PLATFORM=offscreen ./build/default/bin/screenshots --contact-sheet \
        "$output/contact-sheet.png" wizard-page1 "$output" "${all[@]}" || status=$?
fi
if command -v optipng >/dev/null; then
    find "$output" -name '*.png' -newer "$started" -print0 |
        xargs -0 -r optipng -quiet -o2 -strip all
fi
echo "Pictures in $output"
exit "$status"
