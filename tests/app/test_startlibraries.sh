#!/usr/bin/env bash
# The libraries the program loads at every start: the heavy ones (Qt Charts
# and OpenGL, OpenCV, Qt Multimedia, the spreadsheet libraries and the crypto
# library under them) belong to modules loaded when first needed, never to
# the executable.
#   test_startlibraries.sh <program> <module>...
set -euo pipefail
program="$1"
shift
needed="$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')"
[ -n "$needed" ] || { echo "FAIL: no libraries read from $program"; exit 1; }
status=0
for heavy in libQt6Charts libQt6OpenGL libopencv libQt6Multimedia libxlsxwriter libminizip libcsv libcrypto; do
  if grep "^$heavy" <<<"$needed" >/dev/null; then
    echo "FAIL: the program loads $heavy at start"
    status=1
  fi
done
# Each module exists and is a shared object with its entry point.
for module in "$@"; do
  symbols="$(readelf --dyn-syms -W "$module")" || { echo "FAIL: $module cannot be read"; status=1; continue; }
  grep -E ' lumetra(FaceModule|ChartModule|SheetModule|CreateCamera)$' <<<"$symbols" >/dev/null \
    || { echo "FAIL: $module has no entry point"; status=1; }
done
[ "$status" -eq 0 ] && echo "PASS: $(wc -l <<<"$needed") libraries at start, none of the heavy ones"
exit "$status"
