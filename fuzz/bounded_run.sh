# The bounded fuzz run that run_bounded.sh (the forms), run_project_bounded.sh (the
# project file) and run_site_bounded.sh (the site file) make; sourced by them, not run by
# itself.
#
#   bounded_run TARGET WHAT LOG DICT CORPUS SECONDS [libFuzzer flags...]
#
# Builds TARGET (clang, libFuzzer, sanitizers) in $TERVALEN_FUZZ_BUILD (default
# build-fuzz), runs it from a fixed seed for SECONDS over the committed CORPUS with new
# inputs in a scratch folder, libFuzzer's log in the build folder's fuzz/LOG. A crash, a
# sanitizer report, a broken rule or a hang is saved in the build folder (crash-*,
# timeout-*) and fails the run; otherwise the run's figures are printed. WHAT names the
# fuzzer in the messages; $replay_hint, when set, is printed after a failure.
#
# TERVALEN_FUZZ_WORKERS=n: worker processes (libFuzzer's fork mode; default 2, the
# machine's cores; 1 fuzzes in a single process). AddressSanitizer keeps 5 frames of each
# allocation's stack (not 30) and a 16 MiB quarantine (not 256): a use-after-free is
# still caught and shown where it happens, and the fuzzer runs some 30 % more inputs a
# second. ASAN_OPTIONS overrides this.
bounded_run() {
    local target=$1 what=$2 logname=$3 dict=$4 corpus=$5 seconds=$6
    shift 6
    local root build scratch log workers status=0 start elapsed executions
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    build=${TERVALEN_FUZZ_BUILD:-$root/build-fuzz}
    if [[ ! -f "$build/CMakeCache.txt" ]]; then
        (cd "$root" && cmake --preset fuzz -B "$build" >/dev/null)
    fi
    cmake --build "$build" --target "$target" -j2 >/dev/null

    scratch=$(mktemp -d)
    trap "rm -rf '$scratch'" EXIT
    log="$build/fuzz/$logname"
    workers=${TERVALEN_FUZZ_WORKERS:-2}
    local mode=()
    ((workers > 1)) && mode=(-fork="$workers")
    export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=5:quarantine_size_mb=16}
    start=$(date +%s)
    "$build/fuzz/$target" "${mode[@]}" -seed=1 -max_total_time="$seconds" -rss_limit_mb=2048 \
        -print_final_stats=1 -dict="$root/fuzz/$dict" -artifact_prefix="$build/fuzz/" "$@" \
        "$scratch" "$root/fuzz/$corpus" 2>"$log" || status=$?
    if ((status != 0)); then
        grep -v '^#[0-9]' "$log" | tail -n 80
        echo "$what: FAILED (exit $status); the input is saved in $build/fuzz/, the log in $log"
        [[ -n "${replay_hint:-}" ]] && echo "$replay_hint"
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
    echo "$what: no crash, sanitizer report, broken rule or hang in ${seconds} s"
}
