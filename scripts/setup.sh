#!/usr/bin/env bash
# Installs the Debian packages the build needs when any is missing, then configures and
# builds the project in build/. Sourced by the run and test commands.
set -euo pipefail

ORVEX_SRC="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORVEX_BUILD="${ORVEX_BUILD:-$ORVEX_SRC/build}"

orvex_packages=(g++ make cmake pkg-config googletest libgtest-dev qt6-base-dev qt6-base-dev-tools
  qt6-multimedia-dev libqt6multimedia6 xdg-utils)

orvex_install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${missing[*]} ..."
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

orvex_build() {
  orvex_install_missing "${orvex_packages[@]}" "$@"
  cmake -S "$ORVEX_SRC" -B "$ORVEX_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$ORVEX_BUILD" -j"$(nproc)"
}
