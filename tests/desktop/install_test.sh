#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: every file where the desktop looks for it, a desktop
# entry that validates, and a launcher that prepares the per-user root directory and starts the
# program from it (the program is swapped for a stub that reports where it was started).
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

expect_file() {
  [ -f "$prefix/$1" ] || fail "$1 is not installed"
}

expect_program() {
  [ -f "$prefix/$1" ] && [ -x "$prefix/$1" ] || fail "$1 is not installed as a program"
}

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

expect_program bin/orvex
expect_program bin/orvex-launch
expect_program libexec/orvex/orvex_make_demo
for f in FileCopy.avi click.wav Orvex.html; do
  expect_file "share/orvex/$f"
  cmp -s "$prefix/share/orvex/$f" "$(dirname "$0")/../../resources/$f" || fail "share/orvex/$f differs"
done
entry="$prefix/share/applications/orvex.desktop"
icon="$prefix/share/icons/hicolor/256x256/apps/orvex.png"
expect_file share/applications/orvex.desktop
expect_file share/icons/hicolor/256x256/apps/orvex.png

# A PNG header says the picture really is 256 by 256, as its folder claims.
if [ -f "$icon" ]; then
  size="$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')"
  [ "$size" = "0000010000000100" ] || fail "the icon is not 256x256 (header $size)"
fi

if [ -f "$entry" ]; then
  grep -qx 'Exec=orvex-launch' "$entry" || fail "the desktop entry does not start orvex-launch"
  grep -qx 'Icon=orvex' "$entry" || fail "the desktop entry does not name the icon orvex"
  grep -qx 'Categories=Utility;' "$entry" || fail "the desktop entry is not in Utility"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
  else
    echo "desktop-file-validate is not installed: the entry's syntax is not validated"
  fi
fi

# The launcher, with the program replaced by a stub that notes its directory and what it sees.
cat >"$prefix/bin/orvex" <<'EOF'
#!/usr/bin/env bash
{ pwd; ls; } >"$ORVEX_STUB_REPORT"
EOF
chmod +x "$prefix/bin/orvex"
export ORVEX_STUB_REPORT="$work/report"
home="$work/home"
mkdir -p "$home"

# Started through a link, as from a folder on the PATH: the resources are still found.
ln -s "$prefix/bin/orvex-launch" "$work/orvex-launch-link"
if HOME="$home" "$work/orvex-launch-link" >"$work/launch.log" 2>&1; then
  [ "$(head -1 "$work/report")" = "$home/Orvex" ] || fail "the program did not start in ~/Orvex"
  [ -d "$home/Orvex/Assembly" ] || fail "~/Orvex/Assembly was not made"
  for f in FileCopy.avi click.wav Orvex.html; do
    cmp -s "$home/Orvex/$f" "$prefix/share/orvex/$f" || fail "~/Orvex/$f was not copied"
  done
else
  cat "$work/launch.log"
  fail "the launcher failed for a new user"
fi

# A second start keeps what the user has: an edited help file and the settings stay.
echo "my notes" >"$home/Orvex/Orvex.html"
echo "settings" >"$home/Orvex/Orvex.cfg"
HOME="$home" "$prefix/bin/orvex-launch" >/dev/null 2>&1 || fail "the second start failed"
[ "$(cat "$home/Orvex/Orvex.html")" = "my notes" ] || fail "the launcher replaced a user's file"
[ "$(cat "$home/Orvex/Orvex.cfg")" = "settings" ] || fail "the launcher touched Orvex.cfg"

# ORVEX_ROOT chooses another root; one the program could not recognise is refused untouched.
ORVEX_ROOT="$work/elsewhere/OrvexTest" HOME="$home" "$prefix/bin/orvex-launch" >/dev/null 2>&1 ||
  fail "ORVEX_ROOT was not accepted"
[ "$(head -1 "$work/report")" = "$work/elsewhere/OrvexTest" ] || fail "ORVEX_ROOT was not used"
(cd "$work/elsewhere" && ORVEX_ROOT=OrvexRelative HOME="$home" "$prefix/bin/orvex-launch" >/dev/null 2>&1) ||
  fail "a relative ORVEX_ROOT was not accepted"
[ "$(head -1 "$work/report")" = "$work/elsewhere/OrvexRelative" ] || fail "a relative ORVEX_ROOT was misplaced"
if ORVEX_ROOT="$work/Tools" HOME="$home" "$prefix/bin/orvex-launch" 2>"$work/refused.log"; then
  fail "a root directory without Orvex in its path was accepted"
fi
grep -q "must be a folder named Orvex" "$work/refused.log" || fail "no message for a bad root"
[ ! -e "$work/Tools" ] || fail "a refused root directory was made"
if HOME="$home" "$prefix/bin/orvex-launch" --frobnicate 2>/dev/null; then
  fail "an unknown option was accepted"
fi

# --demo: a throw-away root beside the sample simulators and the sample add-ons.
if TMPDIR="$work" HOME="$home" "$prefix/bin/orvex-launch" --demo >"$work/demo.log" 2>&1; then
  demo_root="$(head -1 "$work/report")"
  case "$demo_root" in
    "$work"/Orvex-demo-*/Orvex) ;;
    *) fail "the demo did not start in a throw-away root: $demo_root" ;;
  esac
  for f in Orvex.cfg FileCopy.avi click.wav Orvex.html; do
    [ -f "$demo_root/$f" ] || fail "the demo root has no $f"
  done
  [ -d "$demo_root/Assembly" ] || fail "the demo root has no Assembly"
  [ "$(ls "$demo_root/../Samples" | wc -l)" -eq 7 ] || fail "the demo has not seven samples"
  grep -q "Samples" "$work/demo.log" || fail "the demo does not say where the samples are"
else
  cat "$work/demo.log"
  fail "the launcher's demo failed"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "The installed layout, desktop entry and launcher are as expected."
