# A private GlusterFS volume for the shared-folder test, sourced by test.sh:
# a glusterd of its own with one brick, all under the build folder, reached on
# a loopback address only, and mounted twice (m1, m2) as two workstations
# mount the school's share. The machine's own glusterd state
# (/var/lib/glusterd) and any other glusterd are never touched.
# shellcheck shell=bash
# shellcheck disable=SC2034 # the SHARED_VOLUME_ variables are read by test.sh

SHARED_VOLUME_DIR=
SHARED_VOLUME_ERROR=
SHARED_VOLUME_NAME=lumetra

# The gluster command line of the glusterd under folder $1; never the
# system's socket.
shared_volume_cli() {
  local dir="$1"
  shift
  timeout 30 gluster --glusterd-sock="$dir/run/glusterd.socket" --mode=script \
    --log-file="$dir/log/cli.log" "$@"
}

# Pids recorded in the pid files under folder $1 whose process is still
# ours: its command line names the folder (a pid file left by an earlier
# boot may name someone else's process now).
shared_volume_pids() {
  local dir="$1" file pid
  [ -d "$dir/run" ] || return 0
  while IFS= read -r file; do
    pid="$(cat "$file" 2>/dev/null)"
    [[ "$pid" =~ ^[0-9]+$ ]] || continue
    if tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -F -- "$dir/" >/dev/null; then
      echo "$pid"
    fi
  done < <(find "$dir/run" -name '*.pid' -type f 2>/dev/null)
}

# True when $1 is a mount point, also of a mount whose server is gone (which
# stat, and so mountpoint(1), cannot look at).
shared_volume_mounted() {
  findmnt -n --mountpoint "$1" >/dev/null 2>&1
}

# Everything started under folder $1 stopped and the folder removed: the two
# mounts, the volume, the brick, glusterd. Used by stop and, for what an
# interrupted run left, by start.
shared_volume_cleanup() {
  local dir="$1" m pid pids=() alive socket sockets=()
  [ -d "$dir" ] || return 0
  mapfile -t pids < <(shared_volume_pids "$dir")
  # A brick's socket is kept in the system's run folder, named on its command
  # line, and outlives the brick: ours is removed once the brick is gone.
  for pid in "${pids[@]}"; do
    socket="$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/cmdline" | grep -A1 -x -- -S | tail -n 1)"
    case "$socket" in /var/run/gluster/*.socket | /run/gluster/*.socket) sockets+=("$socket") ;; esac
  done
  for m in "$dir/m1" "$dir/m2"; do
    if shared_volume_mounted "$m"; then
      umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
    fi
  done
  if [ -S "$dir/run/glusterd.socket" ] && [ ${#pids[@]} -gt 0 ]; then
    shared_volume_cli "$dir" volume stop "$SHARED_VOLUME_NAME" >/dev/null 2>&1 || true
  fi
  # Until each is gone for good: a daemon's zombie still counts.
  [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null || true
  for _ in $(seq 1 50); do
    alive=
    for pid in "${pids[@]}"; do
      kill -0 "$pid" 2>/dev/null && alive=1
    done
    [ -n "$alive" ] || break
    sleep 0.1
  done
  for pid in "${pids[@]}"; do
    if tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -F -- "$dir/" >/dev/null; then
      kill -9 "$pid" 2>/dev/null || true
    fi
  done
  [ ${#sockets[@]} -eq 0 ] || rm -f "${sockets[@]}"
  # Never remove through a mount that is still there: that would be the volume.
  for m in "$dir/m1" "$dir/m2"; do
    if shared_volume_mounted "$m"; then
      echo "warning: $m is still mounted; $dir is kept" >&2
      return 1
    fi
  done
  rm -rf --one-file-system "$dir"
}

shared_volume_fail() {
  SHARED_VOLUME_ERROR="$*"
  stop_shared_volume
  return 1
}

# True when something listens on port $2 of address $1 (or of every address).
shared_volume_port_taken() {
  local address="$1" port="$2"
  if command -v ss >/dev/null; then
    ss -Hltn "sport = :$port" 2>/dev/null | awk '{print $4}' |
      grep -E "^(${address//./\\.}|0\.0\.0\.0|\*|\[::\]):$port\$" >/dev/null
  else
    (exec 3<>"/dev/tcp/$address/$port") 2>/dev/null
  fi
}

# Starts the volume in folder $1 (made anew): glusterd on ADDRESS:24007
# ($2, 127.0.0.2 by default; the gluster command line refuses 127.0.0.1 for a
# brick), one brick in $1/brick, mounted on $1/m1 and $1/m2 with the default
# options. Exports LUMETRA_SHARED_MOUNTS="$1/m1:$1/m2". Returns non-zero at
# once with the reason in SHARED_VOLUME_ERROR when it cannot. Does not rely
# on `set -e`: callers test its status.
start_shared_volume() {
  local dir="$1" address="${2:-127.0.0.2}" port=24007
  local pid out m
  SHARED_VOLUME_ERROR=

  [ "$(id -u)" -eq 0 ] || { shared_volume_fail "glusterd and FUSE mounts need root"; return 1; }
  [ -c /dev/fuse ] || { shared_volume_fail "/dev/fuse is missing"; return 1; }
  for out in glusterd gluster glusterfs findmnt timeout; do
    command -v "$out" >/dev/null || { shared_volume_fail "$out is not installed"; return 1; }
  done
  if ! [[ "$address" =~ ^127\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || [ "$address" = 127.0.0.1 ]; then
    shared_volume_fail "$address is not a loopback address other than 127.0.0.1"
    return 1
  fi
  # A Unix socket's path holds at most 107 bytes.
  [ "${#dir}" -lt 80 ] || { shared_volume_fail "folder path too long for glusterd's socket: $dir"; return 1; }

  # What an interrupted run left, before looking at the port: it may be ours.
  shared_volume_cleanup "$dir" || { shared_volume_fail "cannot clear $dir"; return 1; }
  if shared_volume_port_taken "$address" "$port"; then
    shared_volume_fail "$address:$port is already in use"
    return 1
  fi
  if ! mkdir -p "$dir/work" "$dir/run" "$dir/log" "$dir/brick" "$dir/m1" "$dir/m2"; then
    shared_volume_fail "cannot make the folder $dir"
    return 1
  fi
  SHARED_VOLUME_DIR="$dir"

  # logging-directory keeps the brick logs and the command history under
  # $dir instead of /var/log/glusterfs.
  cat >"$dir/glusterd.vol" <<VOL
volume management
    type mgmt/glusterd
    option working-directory $dir/work
    option run-directory $dir/run
    option logging-directory $dir/log
    option glusterd-sockfile $dir/run/glusterd.socket
    option transport-type socket
    option transport.socket.bind-address $address
    option transport.socket.listen-port $port
    option transport.address-family inet
    option ping-timeout 0
    option event-threads 1
    option base-port 49152
    option max-port  60999
end-volume
VOL
  if ! out="$(glusterd -f "$dir/glusterd.vol" -p "$dir/run/glusterd.pid" -l "$dir/log/glusterd.log" 2>&1 </dev/null)"; then
    shared_volume_fail "glusterd did not start: $out"
    return 1
  fi
  local ready=
  for _ in $(seq 1 50); do
    if [ -z "$(shared_volume_pids "$dir")" ]; then
      sleep 0.2 # the pid file comes a moment after the fork
      if [ -z "$(shared_volume_pids "$dir")" ]; then
        shared_volume_fail "glusterd stopped at start: $(grep -E '\] E \[' "$dir/log/glusterd.log" 2>/dev/null | tail -n 2 | tr '\n' ' ')"
        return 1
      fi
    fi
    if [ -S "$dir/run/glusterd.socket" ] && shared_volume_cli "$dir" volume info >/dev/null 2>&1; then
      ready=1
      break
    fi
    sleep 0.2
  done
  [ -n "$ready" ] || { shared_volume_fail "glusterd did not answer within 10 s"; return 1; }

  out="$(shared_volume_cli "$dir" volume create "$SHARED_VOLUME_NAME" "$address:$dir/brick" force 2>&1)" ||
    { shared_volume_fail "volume create failed: $out"; return 1; }
  out="$(shared_volume_cli "$dir" volume start "$SHARED_VOLUME_NAME" 2>&1)" ||
    { shared_volume_fail "volume start failed: $out"; return 1; }

  for m in m1 m2; do
    out="$(glusterfs --volfile-server="$address" --volfile-id="$SHARED_VOLUME_NAME" \
      --pid-file="$dir/run/$m.pid" -l "$dir/log/$m.log" "$dir/$m" 2>&1 </dev/null)" ||
      { shared_volume_fail "mounting $dir/$m failed: $out"; return 1; }
  done
  for m in m1 m2; do
    ready=
    for _ in $(seq 1 50); do
      if [ "$(findmnt -n -o FSTYPE --mountpoint "$dir/$m" 2>/dev/null)" = fuse.glusterfs ]; then
        ready=1
        break
      fi
      pid="$(cat "$dir/run/$m.pid" 2>/dev/null)"
      if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
        break
      fi
      sleep 0.2
    done
    [ -n "$ready" ] || {
      shared_volume_fail "mounting $dir/$m failed: $(grep -E '\] E \[' "$dir/log/$m.log" 2>/dev/null | tail -n 2 | tr '\n' ' ')"
      return 1
    }
  done

  export LUMETRA_SHARED_MOUNTS="$dir/m1:$dir/m2"
  return 0
}

# Stops the volume started above, if any, and removes its folder; safe to
# call more than once.
stop_shared_volume() {
  local dir="${SHARED_VOLUME_DIR:-}"
  [ -n "$dir" ] || return 0
  SHARED_VOLUME_DIR=
  unset LUMETRA_SHARED_MOUNTS
  shared_volume_cleanup "$dir"
}

# The glusterfs mounts and the gluster processes of the machine, compared by
# test.sh before and after the run.
gluster_state() {
  echo "mounts:"
  findmnt -n -l -t fuse.glusterfs -o TARGET,SOURCE 2>/dev/null || true
  echo "processes:"
  ps -eo stat=,comm=,pid=,args= | awk '$2 ~ /^gluster/ && $1 !~ /^Z/ { $1 = $2 = ""; sub(/^ +/, ""); print }'
}
