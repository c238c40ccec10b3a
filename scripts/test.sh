#!/usr/bin/env bash
# Installs what is missing, then runs every check:
#   1. the form fuzzer for a bounded time from a fixed seed (clang, libFuzzer), then the
#      project-file fuzzer for half that time;
#   2. every test, built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. every test in the regular build;
#   4. the Debian package: built with CPack and checked (lintian, desktop entry,
#      AppStream metainfo, file list, the unpacked programs), see packaging/check_package.sh.
# TERVALEN_QUICK=1 runs only the last two steps; TERVALEN_FUZZ_SECONDS sets the fuzz time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen

if [[ "${TERVALEN_QUICK:-0}" != 1 ]]; then
  echo "== form fuzzer, ${TERVALEN_FUZZ_SECONDS:-60} s"
  fuzz/run_bounded.sh "${TERVALEN_FUZZ_SECONDS:-60}"
  echo "== project-file fuzzer, $(( ${TERVALEN_FUZZ_SECONDS:-60} / 2 )) s"
  fuzz/run_project_bounded.sh "$(( ${TERVALEN_FUZZ_SECONDS:-60} / 2 ))"

  echo "== every test under AddressSanitizer and UndefinedBehaviorSanitizer"
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTERVALEN_SANITIZE=ON \
    -DTERVALEN_FUZZ=ON -DTERVALEN_BENCH=OFF
  cmake --build build-asan -j2
  (cd build-asan && ctest --output-on-failure -j2)
fi

echo "== every test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERVALEN_FUZZ=ON
cmake --build build -j2
(cd build && ctest --output-on-failure -j2)

echo "== the Debian package"
packaging/check_package.sh build
