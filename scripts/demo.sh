#!/usr/bin/env bash
# Installs what is missing, builds Quillon and shows it at work: makes a
# sample data set from samples/plain with quillon-pack, a sample Vestra
# folder and a registry export naming it, and starts the installer on them.
# Without a display it runs the unattended install on the same data instead.
# Options given to this script are passed on to quillon (e.g. --lang Korean).
#   scripts/demo.sh [quillon options...]
# The sample files go to $QUILLON_DEMO_DIR (default: /tmp/quillon-demo).
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ! -x build/default/bin/quillon ]]; then
    echo "The first run installs what is missing and builds Quillon and quillon-pack;" \
        "it takes several minutes. Later runs are quick."
fi
bash scripts/setup.sh --demo
cmake --preset default
# Only what the demonstration runs: the tests are built by scripts/test.sh.
cmake --build --preset default --target quillon quillon-pack

bin=build/default/bin
demo=${QUILLON_DEMO_DIR:-${TMPDIR:-/tmp}/quillon-demo}
dataset=$demo/dataset
vestra="$demo/Vestra 3.1"
registry=$demo/registry.reg
status=$demo/status

# A fresh start: only what an earlier run of this script made is removed.
mkdir -p "$demo"
rm -rf "$dataset" "$vestra" "$status" "$registry"

echo "Making the sample data set in $dataset"
"$bin/quillon-pack" samples/plain "$dataset" --year 2027 --season S/S --volume 12 \
    --folder STY=STY_2027SS --folder STI=STI_2027SS --folder DETAIL=DETAIL_2027SS

echo "Making a sample Vestra 3.1 in $vestra"
mkdir -p "$vestra/Bin" "$status"
# Registry export files are UTF-8 or UTF-16; a "\" in a value would be written "\\".
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra\3.1\Directory]' \
    "\"Defaultdir\"=\"${vestra//\\/\\\\}\"" >"$registry"

options=(--dataset "$dataset" --registry "$registry" --status-dir "$status")
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the unattended install instead."
    result=0
    "$bin/quillon" --silent "${options[@]}" "$@" || result=$?
    echo "The unattended install ended with exit status $result (0 all installed, 1 installed" \
        "with notes: files kept or replaced, folders that existed; 2 a file or kind failed, or the" \
        "run was cancelled; 3 nothing could start)."
    echo "Installed data goes to $vestra/Bin"
    exit "$result"
fi

echo "Starting Quillon; the data goes to $vestra/Bin, status files to $status"
"$bin/quillon" "${options[@]}" "$@"
