#!/usr/bin/env bash
# Builds the form fuzzer with clang and runs it for a bounded time from a fixed seed,
# starting from the committed corpus. New inputs go to a scratch folder, crashes and
# broken rules to the build folder (crash-*, timeout-*), and the run fails on any.
#
#   fuzz/run_bounded.sh [SECONDS] [more libFuzzer flags]    (default 60 s)
#   TERVALEN_FUZZ_BUILD=dir  build folder (default build-fuzz)
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
"$build/fuzz/form_fuzz" -seed=1 -max_total_time="$seconds" -timeout=10 -max_len=2048 \
    -rss_limit_mb=2048 -print_final_stats=1 -dict="$root/fuzz/forms.dict" \
    -artifact_prefix="$build/fuzz/" "$@" "$scratch" "$root/fuzz/corpus"
