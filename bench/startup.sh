#!/usr/bin/env bash
# Start-up time (process start to the first painted frame of the main window's client
# area) and peak memory of Tervalen beside two yardsticks built in the same tree: a bare
# QMainWindow, and one whose menu bar shows the program's six Chinese menu titles in the
# forms' Song face. Medians of N runs; the three programs take turns, so that a busy
# moment of the machine falls on all of them alike.
# usage: bench/startup.sh BUILD_DIR [N]   (runs under the platform in QT_QPA_PLATFORM,
# offscreen by default; for a real X server: xvfb-run -a -s "-screen 0 1280x1024x24"
# env QT_QPA_PLATFORM=xcb bench/startup.sh build 21)
# Where the memory goes: TERVALEN_PROBE_SMAPS=FILE build/bench/tervalen-startup-probe
# copies the process's memory map, with each mapping's resident size, to FILE at the
# first paint (Linux); compare it with the yardstick's the same way.
set -euo pipefail
build=${1:-build}
runs=${2:-15}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
probes=(tervalen-startup-probe chinese-menu-probe bare-mainwindow-probe)
declare -A times mems
for ((i = 0; i < runs; i++)); do
    for p in "${probes[@]}"; do
        t0=$(date +%s%N)
        out=$("$build/bench/$p" 2>/dev/null)
        painted=${out#painted_ns=}
        painted=${painted%% *}
        times[$p]+="$(((painted - t0) / 1000)) "
        mems[$p]+="${out##*maxrss_kb=} "
    done
done
median() { printf '%s\n' $1 | sort -n | sed -n "$((runs / 2 + 1))p"; }
args=()
for p in "${probes[@]}"; do
    args+=(-v "t_$p=$(median "${times[$p]}")" -v "m_$p=$(median "${mems[$p]}")")
done
# awk variable names cannot hold dashes: rename them.
args=("${args[@]//-probe=/=}")
args=("${args[@]//tervalen-startup/app}")
args=("${args[@]//chinese-menu/zh}")
args=("${args[@]//bare-mainwindow/bare}")
awk -v runs="$runs" -v qpa="$QT_QPA_PLATFORM" "${args[@]}" 'BEGIN {
    printf "median of %d runs (%s)\n", runs, qpa
    printf "%-26s %12s %14s\n", "program", "first paint", "peak memory"
    printf "%-26s %9.1f ms %10d KiB\n", "Tervalen", t_app / 1000, m_app
    printf "%-26s %9.1f ms %10d KiB\n", "QMainWindow, Chinese menu", t_zh / 1000, m_zh
    printf "%-26s %9.1f ms %10d KiB\n", "bare QMainWindow", t_bare / 1000, m_bare
    printf "Tervalen / Chinese-menu yardstick: time %.2f, memory %.2f\n", t_app / t_zh, m_app / m_zh
    printf "Tervalen / bare yardstick:         time %.2f, memory %.2f\n", t_app / t_bare, m_app / m_bare
    printf "Chinese menu / bare:               time %.2f, memory %.2f\n", t_zh / t_bare, m_zh / m_bare
}'
