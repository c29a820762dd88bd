#!/usr/bin/env bash
# Installs what is missing, builds and runs every test in a real X server.
# Tests run one at a time: window tests on one screen would steal each
# other's focus.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"

install_packages
build_project

# The end-to-end print test prints through a private print server with a PDF
# queue (scripts/printserver.sh), reached only by this run through
# CUPS_SERVER. The machine's own printers and default printer stay as they
# are, and the run fails if they did not.
source "$ROOT/scripts/printserver.sh"
printers_before="$(system_printers)"
trap stop_print_server EXIT
if start_print_server "$ROOT/build/cups"; then
  export CUPS_SERVER="$PRINT_SERVER_SOCKET" LUMETRA_CUPS=1 LUMETRA_PDF_DIR="$PRINT_SERVER_PDF_DIR"
  unset LUMETRA_CUPS_SKIP LPDEST PRINTER # the private queue is the default printer
else
  export LUMETRA_CUPS_SKIP="the private print server could not start: $PRINT_SERVER_ERROR"
  unset LUMETRA_CUPS
  echo "warning: $LUMETRA_CUPS_SKIP; the end-to-end print test is skipped" >&2
fi

cd "$ROOT/build"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@" || status=$?

stop_print_server
printers_after="$(system_printers)"
if [ "$printers_after" != "$printers_before" ]; then
  echo "error: the system's printers changed during the run:" >&2
  diff <(echo "$printers_before") <(echo "$printers_after") >&2 || true
  status=1
fi
exit "$status"
