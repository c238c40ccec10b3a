#!/usr/bin/env bash
# Installs what is missing, then runs every check:
#   1. the form fuzzer for a bounded time from a fixed seed (clang, libFuzzer), then the
#      project-file fuzzer for half that time, the site-file fuzzer for a third and the
#      DXF plan fuzzer for a sixth;
#   2. every test, the real-desktop ones too, built with AddressSanitizer and
#      UndefinedBehaviorSanitizer (the code under test at -O1; the tests' own code at -O0,
#      not instrumented),
#      then clang-tidy's bugprone and performance checks over the program's own sources
#      (.clang-tidy; any finding fails);
#   3. the program as it ships (optimised, no tests, with the benchmarks) and its Debian
#      package: built with CPack and checked (lintian, desktop entry, AppStream metainfo,
#      file list, the unpacked programs), see packaging/check_package.sh.
# Each stage prints its time; the whole must stay under 20 minutes from a fresh clone on
# two cores (docs/testing.md has the figures).
# TERVALEN_QUICK=1 instead builds the regular tree (preset dev), runs every test there and
#   checks the package built from it: the loop while working, with ccache.
# TERVALEN_FUZZ_SECONDS sets the fuzz time.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
# Runs one stage, with its name before and its time after.
stage() {
  local name=$1 t0=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - t0)) s"
}
stage "dependencies" scripts/deps.sh
export QT_QPA_PLATFORM=offscreen

if [[ "${TERVALEN_QUICK:-0}" == 1 ]]; then
  stage "regular build" bash -c 'cmake --preset dev && cmake --build --preset dev'
  stage "every test" ctest --preset dev
  stage "the Debian package" packaging/check_package.sh build
  echo "== all stages: $((SECONDS - started)) s"
  exit 0
fi

stage "form fuzzer, ${TERVALEN_FUZZ_SECONDS:-60} s" fuzz/run_bounded.sh "${TERVALEN_FUZZ_SECONDS:-60}"
stage "project-file fuzzer, $(( ${TERVALEN_FUZZ_SECONDS:-60} / 2 )) s" \
  fuzz/run_project_bounded.sh "$(( ${TERVALEN_FUZZ_SECONDS:-60} / 2 ))"
stage "site-file fuzzer, $(( ${TERVALEN_FUZZ_SECONDS:-60} / 3 )) s" \
  fuzz/run_site_bounded.sh "$(( ${TERVALEN_FUZZ_SECONDS:-60} / 3 ))"
stage "DXF plan fuzzer, $(( ${TERVALEN_FUZZ_SECONDS:-60} / 6 )) s" \
  fuzz/run_plan_bounded.sh "$(( ${TERVALEN_FUZZ_SECONDS:-60} / 6 ))"

stage "build under AddressSanitizer and UndefinedBehaviorSanitizer" \
  bash -c 'cmake --preset asan && cmake --build --preset asan'
stage "every test under AddressSanitizer and UndefinedBehaviorSanitizer" ctest --preset asan
stage "clang-tidy (bugprone, performance; a finding fails)" scripts/tidy.sh build-asan

stage "the program as it ships" bash -c 'cmake --preset package && cmake --build --preset package'
stage "the Debian package" packaging/check_package.sh build-package
echo "== all stages: $((SECONDS - started)) s"
