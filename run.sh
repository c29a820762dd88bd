#!/usr/bin/env bash
# Installs what is missing, builds the program, installs it into the program
# folder and starts it there.
#
# The program folder holds the executable and all data (cards, photos, the
# password store); building or deleting build/ never touches it.
#   LUMETRA_HOME          the program folder (default: ~/Lumetra)
# Without a screen (neither DISPLAY nor WAYLAND_DISPLAY set) the program runs
# on a private virtual screen reachable by VNC on 127.0.0.1 only:
#   LUMETRA_VNC_PASSWORD  the VNC password (default: a new random one, printed)
#   LUMETRA_DISPLAY       first X display number tried (default: 77)
#   LUMETRA_VNC_PORT      first VNC port tried (default: 5900)
# shellcheck disable=SC2317 # cleanup, wm_ready and vnc_ready run through trap and wait_until
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"

PROGRAM_DIR="${LUMETRA_HOME:-$HOME/Lumetra}"

install_packages "${LUMETRA_PACKAGES[@]}"

# One build and install at a time, also beside another run.sh.
mkdir -p "$ROOT/build"
exec 9>"$ROOT/build/.run.lock"
flock 9
echo "Building Lumetra in $ROOT/build (the first build takes several minutes)..."
build_project -- Lumetra lumetra_camera lumetra_faces lumetra_charts lumetra_sheets lumetra_guide

# Earlier versions kept the program folder inside the build folder: carry
# its data over once, leaving the old copy where it is.
OLD_DIR="$ROOT/build/Lumetra"
if [ ! -e "$PROGRAM_DIR" ] && [ -f "$OLD_DIR/unins000.dll" ]; then
  echo "Copying the data of $OLD_DIR to $PROGRAM_DIR (the old copy can be deleted afterwards)"
  mkdir -p "$(dirname "$PROGRAM_DIR")"
  cp -a "$OLD_DIR" "$PROGRAM_DIR"
fi

echo "Installing into $PROGRAM_DIR"
mkdir -p "$PROGRAM_DIR"
PROGRAM_DIR="$(cd "$PROGRAM_DIR" && pwd)"
cmake --install "$ROOT/build" --prefix "$PROGRAM_DIR" >/dev/null
# The default password store, only on a fresh folder: never undo a change.
if [ ! -e "$PROGRAM_DIR/unins000.dll" ]; then
  cp "$ROOT/dist/unins000.dll" "$PROGRAM_DIR/unins000.dll"
fi
exec 9>&-

SCREEN_DIR=""
cleanup() {
  local pid
  for pid in ${APP_PID:-} ${VNC_PID:-} ${WM_PID:-} ${XVFB_PID:-}; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in ${APP_PID:-} ${VNC_PID:-} ${WM_PID:-} ${XVFB_PID:-}; do
    wait "$pid" 2>/dev/null || true
  done
  if [ -n "$SCREEN_DIR" ]; then rm -rf "$SCREEN_DIR"; fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# wait_until <seconds> <pid> <command...>: polls the command until it
# succeeds; fails when the time is up or process <pid> has ended.
wait_until() {
  local seconds=$1 pid=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || return 1
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

wm_ready() {
  xprop -root _NET_SUPPORTING_WM_CHECK | grep "window id" >/dev/null
}

vnc_ready() {
  grep -q '^PORT=' "$SCREEN_DIR/x11vnc.log"
}

# A private virtual screen with its own authorisation cookie, a window
# manager, and a VNC server with a password on loopback only.
start_virtual_screen() {
  SCREEN_DIR="$(mktemp -d "${TMPDIR:-/tmp}/lumetra-screen.XXXXXX")"
  export XAUTHORITY="$SCREEN_DIR/Xauthority"
  : >"$XAUTHORITY"
  local cookie first n
  cookie="$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
  first=${LUMETRA_DISPLAY:-77}
  DISPLAY_NUM=""
  for n in $(seq "$first" $((first + 100))); do
    # Taken by a running server: its lock file or socket is there.
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
    xauth -q -f "$XAUTHORITY" add ":$n" . "$cookie"
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -auth "$XAUTHORITY" >"$SCREEN_DIR/Xvfb.log" 2>&1 &
    XVFB_PID=$!
    if wait_until 20 "$XVFB_PID" xdpyinfo -display ":$n"; then
      DISPLAY_NUM=$n
      break
    fi
    # Another server took the number first, or this one hangs: next number.
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  done
  if [ -z "$DISPLAY_NUM" ]; then
    echo "error: the virtual screen (Xvfb) did not start on any display from :$first:" >&2
    tail -n 5 "$SCREEN_DIR/Xvfb.log" >&2 || true
    exit 1
  fi
  export DISPLAY=":$DISPLAY_NUM"

  # A window manager, so that working windows open maximised and dialogs
  # show their captions as on a desktop.
  openbox >"$SCREEN_DIR/openbox.log" 2>&1 &
  WM_PID=$!
  if ! wait_until 20 "$WM_PID" wm_ready; then
    echo "warning: the window manager (openbox) did not start; windows open without frames" >&2
  fi

  local password="${LUMETRA_VNC_PASSWORD:-}" generated=""
  if [ -z "$password" ]; then
    password="$(head -c 48 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | cut -c1-8)"
    generated=1
  elif [ ${#password} -gt 8 ]; then
    echo "warning: VNC uses only the first 8 characters of LUMETRA_VNC_PASSWORD" >&2
  fi
  # Handed over in a private file, never on a command line others can see.
  (umask 077 && printf '%s\n' "$password" >"$SCREEN_DIR/vncpasswd")
  x11vnc -display "$DISPLAY" -auth "$XAUTHORITY" -localhost -noipv6 -forever -shared \
    -passwdfile "$SCREEN_DIR/vncpasswd" -autoport "${LUMETRA_VNC_PORT:-5900}" \
    >"$SCREEN_DIR/x11vnc.log" 2>&1 &
  VNC_PID=$!
  if ! wait_until 30 "$VNC_PID" vnc_ready; then
    echo "error: the VNC server (x11vnc) did not start:" >&2
    grep -v '^\s*$' "$SCREEN_DIR/x11vnc.log" | tail -n 8 >&2 || true
    exit 1
  fi
  local port
  port="$(sed -n 's/^PORT=//p' "$SCREEN_DIR/x11vnc.log" | head -n 1)"

  echo "Lumetra runs on the virtual screen $DISPLAY."
  if [ -n "$generated" ]; then
    echo "Connect a VNC viewer to 127.0.0.1:$port with the password $password"
  else
    echo "Connect a VNC viewer to 127.0.0.1:$port with the password in LUMETRA_VNC_PASSWORD"
  fi
  echo "From another machine through an SSH tunnel: ssh -L $port:127.0.0.1:$port $(hostname)"
  echo "Screenshot: DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY import -window root shot.png"
}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  start_virtual_screen
fi

echo "Starting Lumetra from $PROGRAM_DIR"
cd "$PROGRAM_DIR"
# In the background so that an interrupt or kill of this script ends the
# program and the virtual screen together.
"$PROGRAM_DIR/Lumetra" --cartella "$PROGRAM_DIR" &
APP_PID=$!
status=0
wait "$APP_PID" || status=$?
APP_PID=""
exit $status
