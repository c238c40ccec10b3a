#!/usr/bin/env bash
# Builds the site-file fuzzer with clang and runs it for a bounded time from a fixed seed,
# starting from the committed corpus of small site files. Any bytes must read as a site or
# be refused with one line, a site read must be written and read back the same, and the
# engine's answers on a small site must be numbers within their bounds; a crash, a
# sanitizer report, a broken rule or a hang is saved in the build folder (crash-*,
# timeout-*) and fails the run. libFuzzer's log goes to fuzz/last-site-run.log there.
#
#   fuzz/run_site_bounded.sh [SECONDS] [more libFuzzer flags]    (default 20 s)
#   TERVALEN_FUZZ_BUILD=dir  build folder (default build-fuzz)
#   TERVALEN_FUZZ_WORKERS=n  worker processes (default 2; 1 fuzzes in a single process)
#
# The harness asks the engine only about sites of a few objects within 400 m, so an input
# takes milliseconds: inputs stay within 4096 bytes, and one may take 10 s at most.
#
# To see what an input does: build-fuzz/fuzz/site_fuzz FILE
set -euo pipefail
source "$(dirname "$0")/bounded_run.sh"
seconds=${1:-20}
shift $(($# > 0 ? 1 : 0))
bounded_run site_fuzz "site-file fuzzer" last-site-run.log site.dict site_corpus \
    "$seconds" -timeout=10 -max_len=4096 "$@"
