#!/usr/bin/env bash
# Runs one program on a private X server with a window manager, so that it gets real
# X11 key and mouse events (sent by xdotool) and real window activation, with settings of
# its own (a fresh XDG_CONFIG_HOME, removed afterwards).
#   [TERVALEN_XVFB_SCREEN=WxHxD] run_under_xvfb.sh PROGRAM [ARGS...]   (default 1280x1024x24)
set -euo pipefail
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "run_under_xvfb: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
fifo_dir=$(mktemp -d)
trap 'kill "${wm_pid:-}" "${x_pid:-}" 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT
# Xvfb picks a free display number and writes it to the given descriptor.
exec 3>"$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 "${TERVALEN_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >"$fifo_dir/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 100); do
  [[ -s "$fifo_dir/display" ]] && break
  sleep 0.05
done
[[ -s "$fifo_dir/display" ]] || { echo "run_under_xvfb: Xvfb did not start" >&2; cat "$fifo_dir/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fifo_dir/display")"
openbox >"$fifo_dir/wm.log" 2>&1 &
wm_pid=$!
# The window manager owns the screen once it has set its supporting-WM property.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
export QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME="$fifo_dir/config"
mkdir -p "$XDG_CONFIG_HOME"
"$@"
