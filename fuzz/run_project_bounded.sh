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
# allowed for one is 20 s. The run itself (build, workers, sanitizer options, figures) is
# fuzz/bounded_run.sh's.
#
# To see what an input does: build-fuzz/fuzz/project_fuzz FILE
set -euo pipefail
source "$(dirname "$0")/bounded_run.sh"
seconds=${1:-30}
shift $(($# > 0 ? 1 : 0))
bounded_run project_fuzz "project fuzzer" last-project-run.log project.dict project_corpus \
    "$seconds" -timeout=20 -max_len=2048 "$@"
