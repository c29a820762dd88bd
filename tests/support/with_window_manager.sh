#!/usr/bin/env bash
# with_window_manager.sh COMMAND [ARG]...
# Runs COMMAND on a screen of its own (1280 x 1024) with a window manager
# (openbox), as on an operator's desktop: what a window asks for (maximised,
# a size, a place) is what the window manager grants, not what Qt records.
# The screen and the window manager end with the command.
set -u
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 0; }
done

work="$(mktemp -d)"
trap 'kill "$wm" "$server" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
# -displayfd picks a free display and tells its number once it is ready.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "the private screen did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
# The window manager is up once it names itself on the root window.
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep 'window id' >/dev/null && break
  sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep 'window id' >/dev/null \
  || { echo "openbox did not start" >&2; cat "$work/openbox.log" >&2; exit 1; }
"$@"
