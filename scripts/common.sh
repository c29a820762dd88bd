# Shared by run.sh and test.sh: Debian packages and the build.
# shellcheck shell=bash

LUMETRA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-image-formats-plugins
  qt6-translations-l10n libgl-dev libfontconfig-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth x11vnc openbox imagemagick
  cups cups-client cups-bsd poppler-utils
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=()
  for p in "${LUMETRA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# build_project [BUILD_DIR [CMAKE_ARGS...]]: configures and builds; the
# default folder is build/.
build_project() {
  local dir="${1:-$ROOT/build}"
  shift || true
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
