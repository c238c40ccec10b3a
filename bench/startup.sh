#!/usr/bin/env bash
# Start-up time (process start to the main window's first paint) and peak memory of
# Tervalen beside a bare QMainWindow built in the same tree; medians of N runs.
# usage: bench/startup.sh BUILD_DIR [N]   (runs under the platform in QT_QPA_PLATFORM,
# offscreen by default; use xvfb-run for a real X server)
set -euo pipefail
build=${1:-build}
runs=${2:-15}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
measure() {
    local exe=$1 times=() mems=()
    for ((i = 0; i < runs; i++)); do
        local t0 out
        t0=$(date +%s%N)
        out=$("$exe" 2>/dev/null)
        local painted=${out#painted_ns=}
        painted=${painted%% *}
        times+=($(((painted - t0) / 1000)))
        mems+=("${out##*maxrss_kb=}")
    done
    local tm mm
    tm=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
    mm=$(printf '%s\n' "${mems[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
    echo "$tm $mm"
}
read -r t_app m_app < <(measure "$build/bench/tervalen-startup-probe")
read -r t_bare m_bare < <(measure "$build/bench/bare-mainwindow-probe")
awk -v runs="$runs" -v qpa="$QT_QPA_PLATFORM" -v ta="$t_app" -v ma="$m_app" -v tb="$t_bare" -v mb="$m_bare" 'BEGIN {
    printf "median of %d runs (%s)\n", runs, qpa
    printf "%-18s %12s %14s\n", "program", "first paint", "peak memory"
    printf "%-18s %9.1f ms %10d KiB\n", "Tervalen", ta / 1000, ma
    printf "%-18s %9.1f ms %10d KiB\n", "bare QMainWindow", tb / 1000, mb
    printf "ratio: time %.2f, memory %.2f\n", ta / tb, ma / mb
}'
