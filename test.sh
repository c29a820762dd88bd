#!/usr/bin/env bash
# Installs what is missing, builds and runs every test in a real X server.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"

install_packages
build_project

# A PDF printer through a real CUPS queue, the default printer, for the
# end-to-end print tests.
export LUMETRA_PDF_DIR=/var/spool/cups-pdf/lumetra
setup_cups() {
  as_root mkdir -p "$LUMETRA_PDF_DIR"
  as_root chmod 1777 "$LUMETRA_PDF_DIR"
  as_root sed -i -E "s|^#?Out .*|Out $LUMETRA_PDF_DIR|; s|^#?AnonDirName .*|AnonDirName $LUMETRA_PDF_DIR|" /etc/cups/cups-pdf.conf
  if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    as_root /usr/sbin/cupsd
    for _ in $(seq 1 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
  fi
  as_root lpadmin -p LumetraPDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
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
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 "$@"
