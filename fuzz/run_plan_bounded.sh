#!/usr/bin/env bash
# Builds the DXF plan fuzzer with clang and runs it for a bounded time from a fixed seed,
# starting from the committed corpus of small plans. Any bytes must read as a plan or be
# refused with one line, and a plan read must keep the reader's promises (outlines of
# three corners or more, counter-clockwise, their areas the polygons'); a crash, a
# sanitizer report, a broken rule or a hang is saved in the build folder (crash-*,
# timeout-*) and fails the run. libFuzzer's log goes to fuzz/last-plan-run.log there.
#
#   fuzz/run_plan_bounded.sh [SECONDS] [more libFuzzer flags]    (default 10 s)
#   TERVALEN_FUZZ_BUILD=dir  build folder (default build-fuzz)
#   TERVALEN_FUZZ_WORKERS=n  worker processes (default 2; 1 fuzzes in a single process)
#
# Inputs stay within 8192 bytes (a plan of a few rooms); one may take 10 s at most.
#
# To see what an input does: build-fuzz/fuzz/plan_fuzz FILE
set -euo pipefail
source "$(dirname "$0")/bounded_run.sh"
seconds=${1:-10}
shift $(($# > 0 ? 1 : 0))
bounded_run plan_fuzz "DXF plan fuzzer" last-plan-run.log plan.dict plan_corpus \
    "$seconds" -timeout=10 -max_len=8192 "$@"
