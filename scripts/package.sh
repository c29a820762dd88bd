#!/usr/bin/env bash
# Builds the Debian package of Lumetra: installs what is missing, builds the
# program in the build folder (build/, or LUMETRA_BUILD_DIR; what is built
# already is reused) and writes build/packages/lumetra_<version>_<arch>.deb,
# whose path it prints last.
#   scripts/package.sh            the package
#   scripts/package.sh --check    the package, then tests/app/test_package.sh on it
#                                 (screenshots of the login window beside it)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/common.sh"

check=""
if [ "${1:-}" = "--check" ]; then check=1; fi
BUILD_DIR="${LUMETRA_BUILD_DIR:-$ROOT/build}"

install_packages "${LUMETRA_PACKAGES[@]}" "${LUMETRA_PACKAGE_PACKAGES[@]}"
# CPack first brings the whole build folder up to date; done here so that
# its output shows. A folder configured already (by run.sh or test.sh) keeps
# its options.
if [ -f "$BUILD_DIR/CPackConfig.cmake" ]; then
  cmake --build "$BUILD_DIR" -j"$(nproc)"
else
  # shellcheck disable=SC2119 # no options: the defaults
  LUMETRA_BUILD_DIR="$BUILD_DIR" build_project
fi

rm -rf "$BUILD_DIR/packages"
(cd "$BUILD_DIR" && cpack -G DEB --config CPackConfig.cmake >/dev/null)
deb="$(ls "$BUILD_DIR"/packages/lumetra_*.deb)"

if [ -n "$check" ]; then
  "$ROOT/tests/app/test_package.sh" "$deb" "$BUILD_DIR/packages"
fi
echo "$deb"
