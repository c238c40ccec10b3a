#!/usr/bin/env bash
# Runs clang-tidy with the project's checks (.clang-tidy: bugprone and performance) over
# the program's own sources, from the compile commands of a configured build (default:
# build/, the regular one), two files at a time. Any finding is an error: exits 1.
#   scripts/tidy.sh [BUILD_DIR] [FILE_REGEX]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
filter=${2:-.}
[[ -f $build/compile_commands.json ]] || { echo "tidy: no $build/compile_commands.json" >&2; exit 2; }
mapfile -t sources < <(python3 - "$build/compile_commands.json" "$PWD" "$filter" <<'PY'
import json, re, sys
commands, root, pattern = sys.argv[1], sys.argv[2], re.compile(sys.argv[3])
seen = set()
for c in json.load(open(commands)):
    f = c["file"]
    rel = f[len(root) + 1:] if f.startswith(root + "/") else None
    # The program's own sources: not the tests, fuzzers, benchmarks or generated files.
    if rel is None or rel.split("/")[0] in ("tests", "fuzz", "bench", "build") or rel.startswith("build"):
        continue
    if pattern.search(rel) and f not in seen:
        seen.add(f)
        print(f)
PY
)
echo "tidy: ${#sources[@]} files"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
printf '%s\n' "${sources[@]}" | xargs -P 2 -n 4 clang-tidy -p "$build" --quiet >"$log" 2>&1 || status=1
# clang-tidy's own chatter ("N warnings generated") is not a finding.
grep -E "(warning|error): " "$log" | sort -u || true
if ((status)); then
  echo "tidy: findings above" >&2
  exit 1
fi
echo "tidy: clean"
