#!/usr/bin/env bash
# Installs the Debian packages the build needs when any is missing, then configures and
# builds the project in build/. Sourced by the run and test commands.
set -euo pipefail

ORVEX_SRC="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORVEX_BUILD="${ORVEX_BUILD:-$ORVEX_SRC/build}"
# The core tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
ORVEX_ASAN_BUILD="${ORVEX_ASAN_BUILD:-$ORVEX_SRC/build-asan}"

orvex_packages=(g++ make cmake pkg-config googletest libgtest-dev qt6-base-dev qt6-base-dev-tools
  qt6-multimedia-dev libqt6multimedia6 xdg-utils libarchive-dev libsqlite3-dev libxxhash-dev
  # the Debian package, and the tests of the installed program and of its real window
  dpkg-dev file desktop-file-utils xvfb xdotool imagemagick unzip)

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

# The sanitizers' run-time libraries come with g++ (libasan, libubsan). Any report fails the test.
# GCC's maybe-uninitialized analysis misfires inside <regex> once the sanitizers instrument it.
orvex_build_sanitized() {
  local flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
  cmake -S "$ORVEX_SRC" -B "$ORVEX_ASAN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_BUILD_GUI=OFF \
    -DCMAKE_CXX_FLAGS="$flags -Wno-maybe-uninitialized" >/dev/null
  cmake --build "$ORVEX_ASAN_BUILD" -j"$(nproc)"
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
}
