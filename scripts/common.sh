# Shared by run.sh and test.sh: Debian packages and the build.
# shellcheck shell=bash disable=SC2034 # the package lists are used by the sourcing scripts

# What building and running the program need, the virtual screen included;
# OpenCV's face detector and Debian's face models frame the photos.
# Qt Charts draws the statistics; Debian's qt6-charts-dev needs Qt OpenGL's
# CMake files, which it does not pull in.
LUMETRA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-image-formats-plugins
  qt6-translations-l10n libgl-dev libfontconfig-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth x11-utils x11vnc openbox
  libxlsxwriter-dev libminizip-dev libcsv-dev qt6-charts-dev libqt6opengl6-dev
  libopencv-objdetect-dev opencv-data
)

# What only the tests need on top: a CUPS PDF printer, PDF to image and
# screenshots, a GlusterFS server and client for the shared folder; the
# start-up benchmarks watch the screen and type through X; OpenCV's sample
# photographs of people for the framing tests.
LUMETRA_TEST_PACKAGES=(
  cups cups-client cups-bsd poppler-utils imagemagick libreoffice-calc-nogui unzip
  glusterfs-server glusterfs-client
  clang libclang-rt-14-dev
  libxtst-dev libxdamage-dev
  opencv-doc
)

# What building and checking the Debian package need on top of the program's
# (scripts/package.sh, and the package stage of test.sh).
LUMETRA_PACKAGE_PACKAGES=(
  dpkg-dev file lintian appstream desktop-file-utils imagemagick x11-utils
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_packages <package>...: installs those not installed yet.
install_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep "install ok installed" >/dev/null || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# build_project [cmake option]... [-- target...]: configures the build folder
# (LUMETRA_BUILD_DIR, build/ by default) with the options and builds the
# targets (everything configured when none given).
build_project() {
  local dir="${LUMETRA_BUILD_DIR:-$ROOT/build}"
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
  if [ $# -gt 0 ]; then shift; fi
  for t in "$@"; do targets+=(--target "$t"); done
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
  cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}
