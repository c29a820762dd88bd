#!/usr/bin/env bash
# Installs what is missing, builds and runs every test in a real X server.
# Tests run one at a time: window tests on one screen would steal each
# other's focus.
#   ./test.sh [ctest args]             the suite, in build/
#   ./test.sh --sanitize [ctest args]  the same suite built with AddressSanitizer
#                                      and UndefinedBehaviorSanitizer, in build-asan/;
#                                      any report fails the run
#   ./test.sh --fuzz SECONDS           each fuzz target for SECONDS (clang, libFuzzer)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"

install_packages "${LUMETRA_PACKAGES[@]}" "${LUMETRA_TEST_PACKAGES[@]}" "${LUMETRA_PACKAGE_PACKAGES[@]}"
BUILD_DIR="$ROOT/build"
case "${1:-}" in
  --fuzz)
    exec "$ROOT/scripts/fuzz.sh" "${2:?usage: test.sh --fuzz SECONDS}"
    ;;
  --sanitize)
    shift
    sanitizing=1
    BUILD_DIR="$ROOT/build-asan"
    sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer"
    # Reports stop the run; leaks inside system libraries only are listed,
    # with the reason for each, in scripts/lsan.supp.
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
    LUMETRA_BUILD_DIR="$BUILD_DIR" build_project -DLUMETRA_BUILD_TESTS=ON -DLUMETRA_BUILD_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="$sanitize" \
      -DCMAKE_EXE_LINKER_FLAGS="$sanitize" -DCMAKE_SHARED_LINKER_FLAGS="$sanitize" \
      -DCMAKE_MODULE_LINKER_FLAGS="$sanitize"
    ;;
  *)
    build_project -DLUMETRA_BUILD_TESTS=ON
    ;;
esac

# The end-to-end print test prints through a private print server with a PDF
# queue (scripts/printserver.sh), reached only by this run through
# CUPS_SERVER. The machine's own printers and default printer stay as they
# are, and the run fails if they did not.
source "$ROOT/scripts/printserver.sh"
printers_before="$(system_printers)"
# The shared-folder test saves through two mounts of one GlusterFS volume at
# once (scripts/sharedfolder.sh): a glusterd of its own on 127.0.0.2, its
# state, brick and mounts in the build folder. The machine's gluster mounts
# and processes are the same after the run, or the run fails.
source "$ROOT/scripts/sharedfolder.sh"
gluster_before="$(gluster_state)"
trap 'stop_print_server; stop_shared_volume' EXIT
if start_print_server "$BUILD_DIR/cups"; then
  export CUPS_SERVER="$PRINT_SERVER_SOCKET" LUMETRA_CUPS=1 LUMETRA_PDF_DIR="$PRINT_SERVER_PDF_DIR"
  unset LUMETRA_CUPS_SKIP LPDEST
  # The private queue is the default printer of this run only: no server's
  # default is ever set.
  export PRINTER=LumetraPDF
else
  export LUMETRA_CUPS_SKIP="the private print server could not start: $PRINT_SERVER_ERROR"
  unset LUMETRA_CUPS
  echo "warning: $LUMETRA_CUPS_SKIP; the end-to-end print test is skipped" >&2
fi
if start_shared_volume "$BUILD_DIR/gluster"; then
  unset LUMETRA_SHARED_SKIP
else
  export LUMETRA_SHARED_SKIP="the shared volume could not start: $SHARED_VOLUME_ERROR"
  unset LUMETRA_SHARED_MOUNTS
  echo "warning: $LUMETRA_SHARED_SKIP; the shared-folder tests are skipped" >&2
fi

cd "$BUILD_DIR"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@" || status=$?

# LeakSanitizer's own tracer can crash while it stops the threads of a test
# that has already finished ("LeakSanitizer has encountered a fatal error"):
# that is no report on the program. When every failed test failed only so,
# those tests run once more; any report, or any failure, still fails the run.
if [ "$status" -ne 0 ] && [ -n "${sanitizing:-}" ] && [ -f Testing/Temporary/LastTestsFailed.log ]; then
  retry=()
  while IFS=: read -r _ name; do
    output="$(awk -v t="Testing: $name" 'index($0, t) && $0 ~ (t "$") {f = 1; next} f && / Testing: / {exit} f' \
      Testing/Temporary/LastTest.log)"
    if grep -q "LeakSanitizer has encountered a fatal error" <<<"$output" \
      && ! grep -qE "ERROR: (AddressSanitizer|LeakSanitizer: detected)|runtime error:|^FAIL!" <<<"$output"; then
      retry+=("$name")
    else
      retry=()
      break
    fi
  done <Testing/Temporary/LastTestsFailed.log
  if [ ${#retry[@]} -gt 0 ]; then
    echo "warning: LeakSanitizer's tracer crashed after ${retry[*]}; running them once more" >&2
    status=0
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure \
      -R "^($(IFS='|'; echo "${retry[*]}"))\$" >retry.log 2>&1 || status=$?
    cat retry.log
    # A test whose second run crashes the tracer again (test_webcam did so
    # in three runs of four under ctest) runs a third time with leak
    # checking off and every other check on, as long as the tracer's crash
    # was all there was.
    if [ "$status" -ne 0 ] && grep "LeakSanitizer has encountered a fatal error" retry.log >/dev/null \
       && ! grep -E "ERROR: (AddressSanitizer|LeakSanitizer: detected)|runtime error:|^FAIL!" retry.log >/dev/null; then
      echo "warning: the tracer crashed again; ${retry[*]} run once more without leak checking" >&2
      status=0
      ASAN_OPTIONS="${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0}" xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --output-on-failure -R "^($(IFS='|'; echo "${retry[*]}"))\$" || status=$?
    fi
  fi
fi

# The Debian package, made from the build above (nothing is built again),
# checked by lintian and started from a temporary root, never installed
# (tests/app/test_package.sh). With the whole suite only.
if [ -z "${sanitizing:-}" ] && [ $# -eq 0 ]; then
  started=$SECONDS
  LUMETRA_BUILD_DIR="$BUILD_DIR" "$ROOT/scripts/package.sh" --check || status=1
  echo "package stage took $((SECONDS - started)) s"
fi

stop_print_server
stop_shared_volume || status=1
printers_after="$(system_printers)"
if [ "$printers_after" != "$printers_before" ]; then
  echo "error: the system's printers changed during the run:" >&2
  diff <(echo "$printers_before") <(echo "$printers_after") >&2 || true
  status=1
fi
gluster_after="$(gluster_state)"
if [ "$gluster_after" != "$gluster_before" ]; then
  echo "error: gluster mounts or processes were left by the run:" >&2
  diff <(echo "$gluster_before") <(echo "$gluster_after") >&2 || true
  status=1
fi
exit "$status"
