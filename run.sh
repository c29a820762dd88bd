#!/usr/bin/env bash
# Installs what is missing, builds, lays out the program folder and starts Lumetra.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"

install_packages
build_project

# The program folder holds the executable and all data (ArchiveFolder).
PROGRAM_DIR="$ROOT/build/Lumetra"
mkdir -p "$PROGRAM_DIR"
cp -f "$ROOT/build/src/app/Lumetra" "$PROGRAM_DIR/Lumetra"
# The camera module, loaded the first time a camera is asked for.
cp -f "$ROOT/build/src/base/liblumetra_camera.so" "$PROGRAM_DIR/"
# The default password store, only on a fresh folder: never undo a change.
if [ ! -e "$PROGRAM_DIR/unins000.dll" ]; then
  cp "$ROOT/dist/unins000.dll" "$PROGRAM_DIR/unins000.dll"
fi
[ -e "$PROGRAM_DIR/Guida.pdf" ] || cp -f "$ROOT/dist/Guida.pdf" "$PROGRAM_DIR/" 2>/dev/null || true

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No screen: a private virtual one, reachable by VNC on loopback only.
  DISPLAY_NUM=${LUMETRA_DISPLAY:-77}
  Xvfb ":$DISPLAY_NUM" -screen 0 1280x1024x24 -nolisten tcp &
  XVFB_PID=$!
  trap 'kill ${WM_PID:-} ${VNC_PID:-} $XVFB_PID 2>/dev/null || true' EXIT
  sleep 1
  export DISPLAY=":$DISPLAY_NUM"
  # A window manager, so that working windows open maximised and dialogs
  # show their captions as on a desktop.
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  sleep 1 # let it take the screen before the first window maps
  x11vnc -display "$DISPLAY" -localhost -forever -shared -nopw -quiet -rfbport 5900 >/dev/null 2>&1 &
  VNC_PID=$!
  echo "Lumetra runs on a virtual screen. Connect a VNC viewer to 127.0.0.1:5900,"
  echo "from another machine through an SSH tunnel: ssh -L 5900:127.0.0.1:5900 $(hostname)"
fi

cd "$PROGRAM_DIR"
exec_status=0
"$PROGRAM_DIR/Lumetra" || exec_status=$?
exit $exec_status
