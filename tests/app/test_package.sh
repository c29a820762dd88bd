#!/usr/bin/env bash
# test_package.sh DEB [SHOTS]
# Checks the Debian package as Debian, a technician and a user meet it,
# without installing it: lintian, the menu entry and the AppStream metadata;
# then the package is extracted into a temporary root and its command
# lumetra started on a screen of its own (Xvfb, openbox) with a temporary
# HOME and a configuration file of the test's (LUMETRA_CONF):
# - with "cartella=" naming a folder on a "share": the login window shows,
#   the folder is made there holding only the default password store, and
#   nothing appears in the home folder;
# - with a folder under "~/": the same in the home folder;
# - with the package's own file, all comments: the same in ~/Lumetra;
# and in neither run is anything written in the extracted root.
# SHOTS: a folder for the screenshots of the login window (default: none).
# shellcheck disable=SC2317 # cleanup runs through trap
set -euo pipefail

deb="$(readlink -f "${1:?usage: test_package.sh DEB [SHOTS]}")"
shots="${2:-}"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
# On a screen of its own with a window manager, as a user's desktop.
if [ -z "${LUMETRA_PACKAGE_SCREEN:-}" ]; then
  LUMETRA_PACKAGE_SCREEN=1 exec "$ROOT/tests/support/with_window_manager.sh" "$0" "$deb" ${shots:+"$shots"}
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/lumetra-package.XXXXXX")"
status=0
app=""

cleanup() {
  if [ -n "$app" ]; then
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  status=1
}

echo "== lintian"
# Errors and warnings fail; the notes it only informs of are shown.
lintian --fail-on error,warning --display-info "$deb" 2> >(grep -v 'running with root privileges' >&2) \
  || fail "lintian found errors or warnings"

dpkg-deb -x "$deb" "$work/root"

echo "== appstreamcli validate"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml \
  || fail "the AppStream metadata is not valid"

echo "== desktop-file-validate"
# Hints too: a clean entry says nothing.
out="$(desktop-file-validate "$work"/root/usr/share/applications/*.desktop 2>&1)" || true
if [ -n "$out" ]; then
  echo "$out" >&2
  fail "the menu entry is not clean"
fi
for size in 16 32 48 64 128 256; do
  icon="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/lumetra.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size}x${size} icon"
done

echo "== the command lumetra, extracted"
unset QT_QPA_PLATFORM LUMETRA_HOME XAUTHORITY

# Every entry of the extracted root with size, time and mode.
listing() {
  (cd "$work/root" && find . -printf '%p %s %T@ %m\n' | LC_ALL=C sort)
}
before="$(listing)"

# run NAME CONF EXPECTED_FOLDER: starts the extracted command with a fresh
# HOME and CONF as its configuration file, waits for the login window, and
# checks the data folder it made.
run() {
  local name=$1 conf=$2 folder=$3
  local home="$work/home-$name"
  mkdir -p "$home"
  HOME="$home" LUMETRA_CONF="$conf" "$work/root/usr/bin/lumetra" >"$work/$name.log" 2>&1 &
  app=$!
  local shown=""
  # Not grep -q: quitting at the first match can cut xwininfo off mid-write,
  # and under pipefail its SIGPIPE makes the window look absent.
  for _ in $(seq 300); do
    if xwininfo -root -tree 2>/dev/null | grep -F '" Lumetra - Autenticazione"' >/dev/null; then
      shown=1
      break
    fi
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$shown" ]; then
    cat "$work/$name.log" >&2
    fail "$name: the login window did not show"
  else
    sleep 0.5 # its first paint
    if [ -n "$shots" ]; then
      mkdir -p "$shots"
      import -display "$DISPLAY" -window root "$shots/package-$name.png" || true
    fi
  fi
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=""

  local made
  made="$(cd "$folder" 2>/dev/null && ls -A)" || true
  [ "$made" = "unins000.dll" ] || fail "$name: the data folder $folder holds '${made//$'\n'/ }', not the store alone"
  cmp -s "$folder/unins000.dll" "$ROOT/dist/unins000.dll" || fail "$name: the store is not the default one"
}

# The administrator's file names a folder on a share (spaces and all),
# among comments and an earlier line that the last one overrides.
mkdir -p "$work/share di rete"
cat >"$work/lumetra.conf" <<EOF
# the school's share
cartella=$work/elsewhere
  cartella = $work/share di rete/Lumetra
EOF
run configured "$work/lumetra.conf" "$work/share di rete/Lumetra"
[ ! -e "$work/home-configured/Lumetra" ] || fail "configured: a folder was made in the home folder too"
[ ! -e "$work/elsewhere" ] || fail "configured: an overridden line was used"

mkdir -p "$work/home-tilde/Scuola"
echo 'cartella=~/Scuola/Lumetra' >"$work/tilde.conf"
run tilde "$work/tilde.conf" "$work/home-tilde/Scuola/Lumetra"

run default "$work/root/etc/lumetra.conf" "$work/home-default/Lumetra"

[ "$(listing)" = "$before" ] || {
  diff <(echo "$before") <(listing) >&2 || true
  fail "something was written in the extracted program's folders"
}

if [ "$status" -eq 0 ]; then echo "package: all checks passed"; fi
exit "$status"
