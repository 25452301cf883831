#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time from its seed
# corpus with its dictionary. New inputs go to build/fuzz/corpus, findings to
# build/fuzz/findings; the tree's corpus is only read. Ends with a line per
# target: runs, executions per second and the edges covered.
#   scripts/fuzz.sh [SECONDS]   (default 60 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(package ini reg commandline journal)

bash scripts/setup.sh --sanitizers
cmake --preset fuzz
cmake --build --preset fuzz

out=build/fuzz
# The targets write real files for every input; in memory they are not held up
# by the disk.
if [[ -d /dev/shm && -w /dev/shm ]]; then
    export TMPDIR=/dev/shm
fi
mkdir -p "$out/findings"
summary=()
status=0
for name in "${targets[@]}"; do
    mkdir -p "$out/corpus/$name"
    log=$out/$name.log
    echo "Fuzzing $name for $seconds s (log: $log)"
    # -timeout: an input that takes this long is a finding (a hang);
    # -rss_limit_mb: so is one that takes this much memory.
    if ! "$out/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -dict="fuzz/$name.dict" -artifact_prefix="$out/findings/$name-" \
        "$out/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
        status=1
        echo "FINDING in $name:"
        tail -n 40 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    edges=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    summary+=("$name: ${runs:-?} runs, ${speed:-?} executions/s, ${edges:-?} edges covered")
done
printf '%s\n' "${summary[@]}"
exit "$status"
