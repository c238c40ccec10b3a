#!/usr/bin/env bash
# Builds the form fuzzer with clang and runs it for a bounded time from a fixed seed,
# starting from the committed corpus. New inputs go to a scratch folder; a crash, a
# sanitizer report, a broken rule or a hang is saved in the build folder (crash-*,
# timeout-*) and fails the run. libFuzzer's own log goes to fuzz/last-run.log there;
# the figures of the run are printed at the end.
#
#   fuzz/run_bounded.sh [SECONDS] [more libFuzzer flags]    (default 60 s)
#   TERVALEN_FUZZ_BUILD=dir  build folder (default build-fuzz)
#   TERVALEN_FUZZ_WORKERS=n  worker processes (libFuzzer's fork mode; default 2, the
#                            machine's cores; 1 fuzzes in a single process)
#
# AddressSanitizer keeps 5 frames of each allocation's stack (not 30) and a 16 MiB
# quarantine (not 256): a use-after-free is still caught and shown where it happens, and
# the fuzzer runs some 30 % more inputs a second. ASAN_OPTIONS overrides this.
#
# Inputs are at most 512 bytes (some 25 steps: enough to fill every box of a form, choose
# its options and settings and press several times). An input costs about in proportion
# to its steps, and libFuzzer lets inputs grow towards the limit as a run goes on: with
# 2048 bytes, executions a second kept falling as the corpus grew (see the README).
# The seeds (fuzz/make_corpus.py) all fit.
#
# To replay a saved input step by step, with the messages shown:
#   TERVALEN_FUZZ_TRACE=1 build-fuzz/fuzz/form_fuzz build-fuzz/fuzz/crash-…
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TERVALEN_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DTERVALEN_GUI=OFF -DTERVALEN_BENCH=OFF -DTERVALEN_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target form_fuzz -j2 >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
log="$build/fuzz/last-run.log"
workers=${TERVALEN_FUZZ_WORKERS:-2}
mode=()
((workers > 1)) && mode=(-fork="$workers")
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=5:quarantine_size_mb=16}
status=0
start=$(date +%s)
"$build/fuzz/form_fuzz" "${mode[@]}" -seed=1 -max_total_time="$seconds" -timeout=10 -max_len=512 \
    -rss_limit_mb=2048 -print_final_stats=1 -dict="$root/fuzz/forms.dict" \
    -artifact_prefix="$build/fuzz/" "$@" "$scratch" "$root/fuzz/corpus" 2>"$log" || status=$?
if ((status != 0)); then
    grep -v '^#[0-9]' "$log" | tail -n 80
    echo "form fuzzer: FAILED (exit $status); the input is saved in $build/fuzz/, the log in $log"
    echo "replay it with TERVALEN_FUZZ_TRACE=1 $build/fuzz/form_fuzz FILE"
    exit "$status"
fi
elapsed=$(($(date +%s) - start))
if ((workers > 1)); then
    # Fork mode prints a running total: the last one is the run's.
    executions=$(grep -o '^#[0-9]*:' "$log" | tail -n 1 | tr -d '#:')
else
    grep '^stat::' "$log"
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
fi
echo "executions: ${executions:-0} in ${elapsed} s with ${workers} worker(s)," \
    "$((${executions:-0} / (elapsed > 0 ? elapsed : 1))) a second"
echo "form fuzzer: no crash, sanitizer report, broken rule or hang in ${seconds} s"
