# A virtual X server and the probe plugin's view of the program, for the tests that drive the
# real window with xdotool. Sourced; the sourcing script defines die MESSAGE and sets probe (the
# probe file), program_pid and xvfb_pid.

# xdotool types texts in the locale's encoding, and a minimal machine sets none: UTF-8 here, as
# on a desktop, so that a name such as "Flügel" can be typed.
export LC_ALL=C.UTF-8

# Ends the test as skipped (CTest's code 77) when one of the tools is missing.
need_tools() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/setup.sh installs the tools of the desktop tests)"
      exit 77
    fi
  done
}

# Starts Xvfb with a screen of the given size on a display of its own, numbered by the server
# so that parallel runs do not meet; sets DISPLAY and xvfb_pid. Logs go to the folder given.
start_xvfb() {
  local work="$1" size="$2"
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log"; die "Xvfb did not start"; }
    sleep 0.1
  done
  [ -s "$work/display" ] || die "Xvfb gave no display"
  export DISPLAY=":$(head -1 "$work/display")"
  # Settle on the defaults a desktop would not impose: no scaling, the real X server.
  unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI
}

# Ends the program and the X server, if they still run.
stop_session() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}

# Waits until a command succeeds, up to a number of seconds.
wait_for() {
  local seconds="$1" what="$2"
  shift 2
  local tries=$((seconds * 10))
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || die "timed out waiting for $what"
    kill -0 "$program_pid" 2>/dev/null || die "the program ended while waiting for $what"
    sleep 0.1
  done
}

# Lines of the probe file (see the probe plugin for their fields).
widget_line() { awk -F'\t' -v n="$1" '$1 == "widget" && $2 == n { print; exit }' "$probe"; }
widget_text() { widget_line "$1" | cut -f9; }
shown() { [ -n "$(widget_line "$1")" ]; }
enabled() { [ "$(widget_line "$1" | cut -f4)" = "1" ]; }
usable() { shown "$1" && enabled "$1"; }
hidden() { ! shown "$1"; }
text_is() { [ "$(widget_text "$1")" = "$2" ]; }
text_has() { widget_text "$1" | grep -qF -- "$2"; }
tab_place() { awk -F'\t' -v t="$1" '$1 == "tab" && $8 == t {print $4, $5, $6, $7; f=1; exit} END {exit !f}' "$probe"; }
current_tab_is() { awk -F'\t' -v t="$1" '$1 == "tab" && $3 == 1 && $8 == t' "$probe" | grep -q .; }
box_up() { awk -F'\t' -v t="$1" '$1 == "message" && $2 == t' "$probe" | grep -q .; }
box_gone() { ! box_up "$1"; }
window_id() { awk -F'\t' -v n="$1" '$1 == "window" && $2 == n {print $5; exit}' "$probe"; }
window_id_titled() { awk -F'\t' -v t="$1" '$1 == "window" && $3 == t {print $5; exit}' "$probe"; }

# Moves the pointer to x y and clicks, twice when asked. The server takes the move and the
# click in this order; mousemove --sync would wait for ever for a pointer that is there already.
click_point() {
  xdotool mousemove "$1" "$2" click --repeat "${3:-1}" --delay 60 1 || die "xdotool cannot click"
}

# Clicks the middle of x y w h.
click_at() {
  click_point $(($1 + $3 / 2)) $(($2 + $4 / 2))
}
