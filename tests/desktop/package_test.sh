#!/usr/bin/env bash
# CPack builds the Debian package: its fields name the runtime libraries, and it holds the
# program, the launcher, the resources, the desktop entry and the icon under /usr.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail
build="$1"
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (the test command installs it)"
    exit 77
  fi
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
package="$(ls "$work"/orvex_*.deb 2>/dev/null | head -1)"
if [ -z "$package" ]; then
  cat "$work/cpack.log"
  echo "FAIL: no orvex_*.deb was made"
  exit 1
fi

field() { dpkg-deb -f "$package" "$1"; }
[ "$(field Package)" = "orvex" ] || fail "package name $(field Package)"
[ "$(field Version)" = "4.0.0" ] || fail "version $(field Version)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
depends="$(field Depends)"
for lib in libqt6widgets6 libqt6multimedia6 libqt6gui6 libarchive13 libsqlite3-0 libxxhash0; do
  echo "$depends" | grep -q "$lib" || fail "Depends does not name $lib: $depends"
done

contents="$(dpkg-deb -c "$package" | awk '{print $6}')"
for f in ./usr/bin/orvex ./usr/bin/orvex-launch ./usr/libexec/orvex/orvex_make_demo \
  ./usr/share/orvex/FileCopy.avi ./usr/share/orvex/click.wav ./usr/share/orvex/Orvex.html \
  ./usr/share/applications/orvex.desktop ./usr/share/icons/hicolor/256x256/apps/orvex.png; do
  echo "$contents" | grep -qx "$f" || fail "the package does not hold $f"
done
# Nothing of the build or the tests slips into the package.
echo "$contents" | grep -q "test" && fail "the package holds test files"

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "$(basename "$package"): Depends: $depends"
