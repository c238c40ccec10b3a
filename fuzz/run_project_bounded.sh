#!/usr/bin/env bash
# Builds the project-file fuzzer with clang and runs it for a bounded time from a fixed
# seed, starting from the committed corpus of small project files. Any bytes must read as
# a project or be refused with one line, and a project read must be written and read back
# the same; a crash, a sanitizer report, a broken rule or a hang is saved in the build
# folder (crash-*, timeout-*) and fails the run. libFuzzer's log goes to
# fuzz/last-project-run.log there.
#
#   fuzz/run_project_bounded.sh [SECONDS] [more libFuzzer flags]    (default 30 s)
#   TERVALEN_FUZZ_BUILD=dir  build folder (default build-fuzz)
#   TERVALEN_FUZZ_WORKERS=n  worker processes (default 2; 1 fuzzes in a single process)
#
# Reading a project computes every record again, and a height form's search may climb a
# million steps for a large typed value: inputs stay within 2048 bytes, and the time
# allowed for one is 20 s.
#
# To see what an input does: build-fuzz/fuzz/project_fuzz FILE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TERVALEN_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-30}
shift $(($# > 0 ? 1 : 0))

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DTERVALEN_GUI=OFF -DTERVALEN_BENCH=OFF -DTERVALEN_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target project_fuzz -j2 >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
log="$build/fuzz/last-project-run.log"
workers=${TERVALEN_FUZZ_WORKERS:-2}
mode=()
((workers > 1)) && mode=(-fork="$workers")
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=5:quarantine_size_mb=16}
status=0
start=$(date +%s)
"$build/fuzz/project_fuzz" "${mode[@]}" -seed=1 -max_total_time="$seconds" -timeout=20 \
    -max_len=2048 -rss_limit_mb=2048 -print_final_stats=1 -dict="$root/fuzz/project.dict" \
    -artifact_prefix="$build/fuzz/" "$@" "$scratch" "$root/fuzz/project_corpus" 2>"$log" || status=$?
if ((status != 0)); then
    grep -v '^#[0-9]' "$log" | tail -n 80
    echo "project fuzzer: FAILED (exit $status); the input is saved in $build/fuzz/, the log in $log"
    exit "$status"
fi
elapsed=$(($(date +%s) - start))
if ((workers > 1)); then
    executions=$(grep -o '^#[0-9]*:' "$log" | tail -n 1 | tr -d '#:')
else
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
fi
echo "executions: ${executions:-0} in ${elapsed} s with ${workers} worker(s)," \
    "$((${executions:-0} / (elapsed > 0 ? elapsed : 1))) a second"
echo "project fuzzer: no crash, sanitizer report, broken rule or hang in ${seconds} s"
