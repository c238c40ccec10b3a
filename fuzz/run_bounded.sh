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
# The run itself (build, workers, sanitizer options, figures) is fuzz/bounded_run.sh's.
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
source "$(dirname "$0")/bounded_run.sh"
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
replay_hint="replay it with TERVALEN_FUZZ_TRACE=1 ${TERVALEN_FUZZ_BUILD:-build-fuzz}/fuzz/form_fuzz FILE"
bounded_run form_fuzz "form fuzzer" last-run.log forms.dict corpus "$seconds" \
    -timeout=10 -max_len=512 "$@"
