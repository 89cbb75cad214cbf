#!/usr/bin/env bash
# Fuzzes the template reader and the picture reader side by side, each for
# the given number of seconds (default 600), in the sanitizer build (default
# build-sanitize). Each target starts from its seeds (tests/model/corpus,
# fuzz/corpus/pictures) and from what earlier runs in that build found.
# Prints executions, coverage and findings per target; exits 1 when a
# target found a crash, a leak, a timeout or ran out of memory, whose input
# is then kept in <build dir>/fuzz-run/<target>/.
#
#     scripts/fuzz.sh [seconds] [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${1:-600}
build_dir=${2:-build-sanitize}
scripts/sanitizer-build.sh "$build_dir" fuzz_templatereader fuzz_pictureread >/dev/null
build=$(cd "$build_dir" && pwd)

declare -A seeds=(
    [templatereader]="$root/tests/model/corpus/accepted $root/tests/model/corpus/refused"
    [pictureread]="$root/fuzz/corpus/pictures"
)
declare -A dictionaries=(
    [templatereader]="-dict=$root/fuzz/template.dict"
    [pictureread]=""
)

# One target, in a folder of its own: its corpus, its findings, its log.
# The program's log file goes nowhere: every refused input would add a line.
run() {
    local target=$1 folder="$build/fuzz-run/$1"
    mkdir -p "$folder/corpus"
    rm -f "$folder"/crash-* "$folder"/leak-* "$folder"/timeout-* "$folder"/oom-* "$folder/fuzz.log"
    ln -sfn /dev/null "$folder/Pelmaro_Jun 29 2020.log"
    cd "$folder"
    # shellcheck disable=SC2086
    OMP_NUM_THREADS=1 QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
    LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$folder/" ${dictionaries[$target]} \
        corpus ${seeds[$target]} >fuzz.log 2>&1
}

targets=(templatereader pictureread)
declare -A pids
for target in "${targets[@]}"; do
    run "$target" &
    pids[$target]=$!
done

failed=0
printf '%-16s %12s %10s %10s %10s %9s  %s\n' target executions "exec/s" coverage features corpus findings
for target in "${targets[@]}"; do
    status=0
    wait "${pids[$target]}" || status=$?
    folder="$build/fuzz-run/$target"
    log="$folder/fuzz.log"
    final() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    field() { sed -n "s/.* $1: \([0-9/a-zA-Z]*\).*/\1/p" <<<"$last"; }
    findings=$(find "$folder" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    printf '%-16s %12s %10s %10s %10s %9s  %s\n' "$target" "$(final number_of_executed_units)" \
        "$(final average_exec_per_sec)" "$(field cov)" "$(field ft)" "$(field corp)" "$findings"
    if [ "$status" -ne 0 ] || [ "$findings" -gt 0 ]; then
        failed=1
        echo "fuzz_$target failed (exit $status): see $log" >&2
        grep -E 'ERROR|SUMMARY|runtime error|templatereader:|pictureread:' "$log" | head -n 20 >&2 || true
    fi
done
exit "$failed"
