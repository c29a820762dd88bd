#!/usr/bin/env bash
# Installs what is missing, builds and runs every test in a real X server.
# Tests run one at a time: window tests on one screen would steal each
# other's focus.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"

install_packages "${LUMETRA_PACKAGES[@]}" "${LUMETRA_TEST_PACKAGES[@]}"
build_project -DLUMETRA_BUILD_TESTS=ON

# A PDF printer through a real CUPS queue, the default printer, for the
# end-to-end print tests. The queue hands the job's PDF as it is to a small
# backend that stores it as <title>-job_<id>.pdf: redistilling through
# PostScript (as cups-pdf does) loses the text that the tests look for.
export LUMETRA_PDF_DIR=/var/spool/cups-pdf/lumetra
setup_cups() {
  as_root mkdir -p "$LUMETRA_PDF_DIR"
  as_root chmod 1777 "$LUMETRA_PDF_DIR"
  as_root tee /usr/lib/cups/backend/lumetrapdf >/dev/null <<'BACKEND'
#!/bin/sh
# Writes each job, as the filters hand it over (PDF), to <title>-job_<id>.pdf
# in the folder named by the device URI (lumetrapdf:/folder).
if [ $# -eq 0 ]; then
  echo 'file lumetrapdf "Unknown" "PDF files for the Lumetra tests"'
  exit 0
fi
dir="${DEVICE_URI#lumetrapdf:}"
title=$(printf '%s' "$3" | tr -c 'A-Za-z0-9._-' '_')
out="$dir/${title}-job_$1.pdf"
if [ -n "$6" ]; then cat "$6" > "$out.part"; else cat > "$out.part"; fi || exit 1
chmod 0644 "$out.part"
mv "$out.part" "$out"
BACKEND
  as_root chmod 0755 /usr/lib/cups/backend/lumetrapdf
  local ppd
  ppd="$(mktemp)"
  sed 's|^\*% cupsFilter: .*|*cupsFilter2: "application/pdf application/pdf 0 -"|' \
    /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd > "$ppd"
  if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    as_root /usr/sbin/cupsd
    for _ in $(seq 1 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
  fi
  as_root lpadmin -p LumetraPDF -E -v "lumetrapdf:$LUMETRA_PDF_DIR" -P "$ppd"
  rm -f "$ppd"
  as_root lpadmin -d LumetraPDF
  as_root cupsenable LumetraPDF || true
  as_root cupsaccept LumetraPDF || true
}
if setup_cups; then
  export LUMETRA_CUPS=1
else
  echo "warning: CUPS could not be set up; end-to-end print tests will be skipped" >&2
fi

cd "$ROOT/build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@"
