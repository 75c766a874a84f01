#!/usr/bin/env bash
# A monkey in the real window: the real program runs under Xvfb on a sandbox of sample
# simulators (read-only files among their targets) and gets COUNT random events from a
# generator seeded with SEED: clicks on every visible control, option, list, tab and
# message-box button, double clicks, typed texts and keys, while add-ons arrive in its
# assembly area. Its drive map holds only the sandbox (a Wine prefix whose one drive C: is the
# sandbox), so no folder it can reach lies outside it. After every event it checks that the
# program still runs, or ended through Quit (it is then started again), and that every file
# that left the assembly area lies byte for byte in a folder an install wrote to, or was thrown
# away by Cancel, a failed scan or selection, the clean-up after an install or Quit; after
# every run that Orvex.cfg is whole; at the end that nothing outside the sandbox changed. What
# the user set off comes from the test-only probe plugin's log. A failure prints the seed and
# the last events.
# Usage: monkey.sh COUNT SEED [BUILD_DIR]   (MONKEY_KEEP=1 keeps the work folder for a look)
set -uo pipefail
usage="Usage: monkey.sh COUNT SEED [BUILD_DIR]"
count="${1:?$usage}"
seed="${2:?$usage}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "${3:-$here/../../build}" && pwd)" || exit 1
plugins="$build/tests/desktop/plugins"
make_demo="$build/tools/demo/orvex_make_demo"

source "$here/x_session.sh"
need_tools Xvfb xdotool unzip md5sum
for f in "$build/orvex-launch" "$make_demo" "$plugins/generic/liborvex_probe.so"; do
  [ -e "$f" ] || { echo "FAIL: $f is missing: build the program, orvex_make_demo and orvex_probe"; exit 1; }
done

work="$(mktemp -d)"
around="$work/around"     # the sandbox and what lies beside it, compared at the end
sandbox="$around/sandbox" # drive C:, the only drive the program has
prefix="$work/prefix"     # the Wine prefix that says so
home="$work/home"         # HOME and the desktop's folders: Qt's own settings and caches
h="$work/harness"         # the monkey's own files
probe="$h/probe"
log="$h/actions"
events="$h/events"
xvfb_pid=""
program_pid=""
cleanup() {
  stop_session
  chmod -R u+w "$work" 2>/dev/null
  [ -n "${MONKEY_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

die() {
  echo "FAIL: $*"
  echo "--- seed $seed, $count events; run again with: $0 $count $seed"
  if [ -f "$events" ]; then
    echo "--- the last events:"
    tail -n 25 "$events"
  fi
  if [ -f "$log" ]; then
    echo "--- what the program logged last:"
    tail -n 25 "$log"
  fi
  [ -f "$h/program.log" ] && { echo "--- program output:"; tail -n 20 "$h/program.log"; }
  [ -f "$probe" ] && { echo "--- the windows shown last:"; grep -E '^(window|message)' "$probe"; }
  exit 1
}

# The sandbox: the demonstration tree, made for drive C:, with read-only files where installs
# put theirs, and things beside it that no run may touch.
mkdir -p "$sandbox" "$prefix/dosdevices" "$home/.config" "$home/.local/share/applications" \
  "$home/run" "$h/tmp" "$around/Orvex-other/Assembly" "$around/Decoy/Aircraft"
chmod 700 "$home/run"
ln -s "$sandbox" "$prefix/dosdevices/c:"
printf 'not the sandbox\r\n' >"$around/decoy.txt"
printf 'another assembly area\r\n' >"$around/Orvex-other/Assembly/keep.cfg"
printf '[fltsim.0]\r\ntitle=Decoy\r\n' >"$around/Decoy/Aircraft/Aircraft.cfg"
WINEPREFIX="$prefix" "$make_demo" "$sandbox" >/dev/null 2>"$h/demo.log" ||
  die "the sandbox could not be made: $(cat "$h/demo.log")"
root="$sandbox/Orvex"
assembly="$root/Assembly"
samples="$sandbox/Samples"
sims="$sandbox/Sims"
for sim in FS98 FS2000 CFS CFS2; do
  mkdir -p "$sims/$sim/Scenery/Orvex Island/Scenery"
  for f in Gauges/Orvex_Trainer.gau Gauges/Orvex_Sport.gau Sound/Radial_idle.wav \
    "Scenery/Orvex Island/Scenery/Orvex_Island.bgl"; do
    printf 'an older copy, read-only\r\n' >"$sims/$sim/$f"
    chmod a-w "$sims/$sim/$f"
  done
done

# Everything beside the sandbox, with contents, times and modes.
outside() {
  (cd "$work" && find around prefix \( -path around/sandbox -prune \) -o \
    -printf '%y %m %s %T@ %p %l\n' | LC_ALL=C sort
  cd "$work" && find around \( -path around/sandbox -prune \) -o -type f -print0 |
    xargs -0 -r md5sum | LC_ALL=C sort)
}
outside >"$h/outside.before"

# The desktop's zip program: each start drops an add-on into the assembly area.
printf '[Default Applications]\napplication/zip=orvex-monkey-zip.desktop\n' \
  >"$home/.config/mimeapps.list"
printf '[Desktop Entry]\nType=Application\nName=Monkey zip program\nExec=bash %s %s %s %s zip\n' \
  "$here/monkey_arrive.sh" "$samples" "$assembly" "$h/tmp" \
  >"$home/.local/share/applications/orvex-monkey-zip.desktop"

# Screen wide enough that the help window (at the left) leaves the centred main window free.
start_xvfb "$h" 2400x1400

runs=0
start_line=0
start_program() {
  runs=$((runs + 1))
  start_line=$(($(log_lines) + 1))
  echo "start of run $runs" >>"$events"
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/run" TMPDIR="$h/tmp" \
    WINEPREFIX="$prefix" ORVEX_ROOT="$root" QT_QPA_PLATFORM=xcb QT_PLUGIN_PATH="$plugins" \
    QT_QPA_GENERIC_PLUGINS=orvexprobe ORVEX_PROBE_FILE="$probe" ORVEX_PROBE_LOG="$log" \
    ORVEX_PROBE_MS=30 "$build/orvex-launch" >>"$h/program.log" 2>&1 &
  program_pid=$!
  rm -f "$probe"
  wait_for 60 "the main window of run $runs" main_window_up
}
main_window_up() { [ -n "$(window_id frmOrvex2)" ] && shown cmdRefresh; }

# Waits until the program has handled what it was sent: the probe has rewritten its file twice.
settle() {
  local line first="" tries=0
  while kill -0 "$program_pid" 2>/dev/null; do
    line=""
    read -r line <"$probe" 2>/dev/null
    line="${line#tick$'\t'}"
    if [[ "$line" =~ ^[0-9]+$ ]]; then
      [ -z "$first" ] && first="$line"
      [ "$line" -ge $((first + 2)) ] && return 0
    fi
    tries=$((tries + 1))
    [ "$tries" -lt 1500 ] || die "the window did not respond for 30 s"
    sleep 0.02
  done
}

# The files directly in the assembly area: "md5  name", by name. A file that goes while it is
# read is left out: it has left.
snapshot() {
  (cd "$assembly" 2>/dev/null && find . -maxdepth 1 -type f ! -name '.*' -printf '%f\0' |
    xargs -0 -r md5sum 2>/dev/null) | LC_ALL=C sort -k2 >"$1"
}
log_lines() { if [ -f "$log" ]; then wc -l <"$log"; else echo 0; fi; }

# The buttons that install, four directly and four after a preview of what the install does.
installs="cmdInstall|cmdPanelInstall|Command1|cmdInstallSound|cmdPreview|cmdPanelPreview"
installs="$installs|cmdSceneryPreview|cmdSoundPreview|cmdInstallLivery"

# What may have moved files out of the assembly area since the last snapshot: the actions of
# this run that began before the new snapshot and had not ended before the last one. A
# throw-away is Cancel, Quit, closing, or an action whose message box, once answered, throws
# the area away (a failed scan or selection, the end of a panel or sound install, No to
# reusing an aircraft's folder or to going on after a failed step of an aircraft install, which
# cancels the load; a repaint's install, whose readme goes with it); one clicked while an install
# or an unpacking runs is refused,
# and throws nothing away.
actions_since() {
  local pre_last="$1" post_now="$2"
  awk -F'\t' -v from="$start_line" -v pre="$pre_last" -v now="$post_now" \
    -v busying="^($installs|cmdOpenArchive)\$" '
    NR < from || NR > now { next }
    $1 == "begin" {
      k = ++n; name[k] = $2; began[k] = NR; ended[k] = 0; open[$2] = open[$2] " " k
      refused[k] = busy > 0
      if ($2 ~ busying) busy++
    }
    $1 == "end" && open[$2] != "" {
      # The innermost click of that button ends.
      last = open[$2]; sub(/ [0-9]+$/, "", open[$2]); sub(/.* /, "", last); ended[last] = NR
      if ($2 ~ busying) busy--
    }
    $1 == "close" && $2 == "frmOrvex2" { closed = 1 }
    $1 == "answer" &&
      (($2 == "Success!" && $4 ~ /^((Panel|Sound) Files|Livery|[0-9]+ Liveries) Installed/) ||
       ($2 == "Data Error" && $4 ~ /^No Data Found/) ||
       ($2 == "Aircraft.cfg Error" && $4 !~ /does not name a single folder/) ||
       ($2 == "Aircraft Directory Error" && $3 == "No") ||
       ($2 == "Install Panel Errors:" && $3 == "No") ||
       ($2 == "FS Directory Errors" && $4 ~ /^Cannot find/)) { boxes[++nb] = NR }
    END {
      throwaway = closed ? " close" : ""
      for (k = 1; k <= n; k++) {
        if (ended[k] && ended[k] <= pre) continue
        print "active", name[k]
        if (refused[k]) continue
        if (name[k] ~ /^(cmdCancelLoad|cmdPanelCancel|Command2|Command3|cmdQuit)$/)
          throwaway = throwaway " " name[k]
        for (b = 1; b <= nb; b++)
          if (boxes[b] > began[k] && (!ended[k] || boxes[b] < ended[k])) throwaway = throwaway " " name[k]
      }
      if (throwaway != "") print "throwaway" throwaway
    }' "$log"
}

# A file's copy with the same name (in any case) and the same bytes, in the sandbox but not
# directly in the assembly area, nor among the backups of what installs replaced.
copied() {
  local name="$1" sum="$2" glob
  glob="$(printf '%s' "$name" | sed 's/[][*?\\]/\\&/g')"
  find "$sandbox" -path "$root/Backups" -prune -o -type f -iname "$glob" -print0 2>/dev/null |
    while IFS= read -r -d '' f; do
      [ "$(dirname "$f")" = "$assembly" ] && continue
      [ "$(md5sum <"$f" | cut -d' ' -f1)" = "$sum" ] && { echo yes; break; }
    done | grep -q yes
}

# The one loss the rules of the aircraft install ask for: a gauge that cannot replace a
# read-only gauge of the simulator is passed over without a word, and still deleted from the
# assembly area; the simulator keeps its old gauge.
kept_old_gauge() {
  local name="$1" actions="$2"
  [[ "${name,,}" == *.gau ]] && grep -qxE 'active (cmdInstall|cmdPreview)' <<<"$actions" &&
    find "$sims" -path '*/Gauges/*' -iname "$name" ! -perm -u=w | grep -q .
}

# Checks what left the assembly area since the last snapshot.
pre_last=0
check_assembly() {
  local pre_now post_now gone actions kind name sum
  pre_now=$(log_lines)
  snapshot "$h/now"
  post_now=$(log_lines)
  gone="$(awk 'FILENAME == ARGV[1] { now[substr($0, 35)] = $1; next }
               { name = substr($0, 35) }
               tolower(name) == "orvex.cfg" { next }
               !(name in now) { print "gone", $1, name; next }
               now[name] != $1 { print "changed", $1, name }' "$h/now" "$h/last")"
  if [ -n "$gone" ]; then
    actions="$(actions_since "$pre_last" "$post_now")"
    while read -r kind sum name; do
      echo "$step: $kind $name: $(echo $actions)" >>"$h/departures"
      # A changed file is one that left, and a new one of its name arrived.
      if grep -q '^throwaway' <<<"$actions"; then
        continue
      elif [ "$kind" = changed ] && grep -qx 'active cmdOpenArchive' <<<"$actions"; then
        continue # opening an archive replaces files of the same name, and says so
      elif grep -qE "^active ($installs)\$" <<<"$actions"; then
        if copied "$name" "$sum"; then
          copies=$((copies + 1))
        elif kept_old_gauge "$name" "$actions"; then
          old_gauges=$((old_gauges + 1))
        else
          die "$name left the assembly area in an install without a copy (actions: $(echo $actions))"
        fi
      else
        die "$name left the assembly area ($kind; actions: $(echo $actions))"
      fi
    done <<<"$gone"
  fi
  mv "$h/now" "$h/last"
  pre_last=$pre_now
}

# Orvex.cfg: seven lines, the five folders and the simulator's tag quoted, then 0 or 1.
check_settings() {
  local cfg="$root/Orvex.cfg"
  awk 'BEGIN { bad = 0 }
       NR <= 5 && !/^"[^"]*"\r$/ { bad = 1 }
       NR == 6 && !/^"(FS98|FS2K|CFS|CFS2)"\r$/ { bad = 1 }
       NR == 7 && !/^[01]\r$/ { bad = 1 }
       END { exit bad || NR != 7 }' "$cfg" ||
    die "Orvex.cfg is not whole after run $runs: $(od -c "$cfg" | head -n 12)"
}

# The program has ended: only Quit or closing the window may have ended it, cleanly.
check_ending() {
  wait "$program_pid"
  local status=$?
  program_pid=""
  awk -F'\t' -v from="$start_line" 'NR >= from && $2 ~ /^(cmdQuit|frmOrvex2)$/ && $1 ~ /^(begin|close)$/ { f = 1 }
    END { exit !f }' "$log" || die "the program ended without Quit or closing (status $status)"
  [ "$status" -eq 0 ] || die "the program ended with status $status"
  check_assembly
  check_settings
}

# Splits a probe line into the array f; an empty field stays a field.
fields() {
  local line="${1//$'\t\t'/$'\t-\t'}" # twice: "\t\t\t" holds two empty fields
  IFS=$'\t' read -r -a f <<<"${line//$'\t\t'/$'\t-\t'}"
}

texts=("Orvex Test" "Spitfire Mk IX" '..\..\..\outside' 'C:\' '\Sims\FS98\Aircraft' 'a"quote'
  "con" "x/y:z*?" "Flügel" "   " "Sound.Name" '*.*' "$(printf 'L%.0s' {1..270})")
keys=(Tab shift+Tab space Return Escape Up Down Left Right Home End Delete BackSpace F1 ctrl+a
  Page_Down)
# The controls on the way from an add-on to its install, and names worth typing there.
on_the_way="cmdRefresh optFSCONV optMyChoice optPanelLetMe txtPanelName cmdPanelInstall
  optSceneryDefault optSceneryOptional txtSceneryName Command1 optSound optSoundDir optSoundCustom
  txtSoundName txtIDecide cmdInstallSound cmdInstall lvwLiveryTarget cmdInstallLivery"
on_the_way="${on_the_way//$'\n'/ }"
names=("Orvex Test" "Spitfire Mk IX" "Sound.Name" "Panel 2")
arrivals=0
copies=0
old_gauges=0

# One random event. Reads the probe's view of the screen; writes what it did to the events.
# While a window takes all input (a message box, the warning, the file dialog) most events go
# to it; otherwise buttons and options come up more often than frames and labels.
one_event() {
  local -a widgets=() boxes=() tabs=() windows=() steps=()
  local line modal=""
  while IFS= read -r line; do
    fields "$line"
    case "${f[0]}" in
      modal) modal="${f[1]}" ;;
      widget)
        [ "${f[3]}" = 1 ] && [ "${f[6]}" -gt 4 ] && [ "${f[7]}" -gt 4 ] || continue
        [ -z "$modal" ] || [ "${f[9]:-}" = "$modal" ] || [ $((RANDOM % 10)) -eq 0 ] || continue
        widgets+=("$line")
        [[ " $on_the_way " == *" ${f[1]} "* ]] && steps+=("$line")
        case "${f[2]}" in
          QPushButton | QRadioButton | QCheckBox) widgets+=("$line" "$line" "$line" "$line") ;;
          QListWidget | QTreeWidget | QComboBox | QLineEdit | orvex::PictureView)
            widgets+=("$line" "$line") ;;
        esac
        ;;
      button) boxes+=("$line") ;;
      tab) tabs+=("$line") ;;
      window) windows+=("$line") ;;
    esac
  done <"$probe"

  local r=$((RANDOM % 100)) x y target
  if [ ${#boxes[@]} -gt 0 ] && [ $r -lt 60 ]; then
    fields "${boxes[RANDOM % ${#boxes[@]}]}"
    echo "click \"${f[6]}\" in the box \"${f[1]}\"" >>"$events"
    click_at "${f[2]}" "${f[3]}" "${f[4]}" "${f[5]}"
  elif [ "$modal" = QFileDialog ] && [ $r -lt 60 ]; then
    if [ $r -lt 15 ]; then
      echo "key Escape in the file dialog" >>"$events"
      xdotool key Escape
    else
      target="$(ls "$samples"/*.zip "$sims"/FS98/*.cfg | sed -n "$((RANDOM % 5 + 1))p")"
      echo "open $target" >>"$events"
      xdotool key ctrl+a type --delay 2 "$target" || die "xdotool cannot type"
      xdotool key Return
    fi
  elif [ $r -lt 50 ] && [ ${#widgets[@]} -gt 0 ]; then
    fields "${widgets[RANDOM % ${#widgets[@]}]}"
    # Quit ends the run; most of the time the monkey stays.
    if [ "${f[1]}" = cmdQuit ] && [ $((RANDOM % 16)) -ne 0 ]; then
      echo "wait" >>"$events"
      return
    fi
    x=$((f[4] + 2 + RANDOM % (f[6] - 4)))
    y=$((f[5] + 2 + RANDOM % (f[7] - 4)))
    if [ $((RANDOM % 6)) -eq 0 ]; then
      echo "double-click ${f[1]} (${f[2]}) at $x,$y" >>"$events"
      click_point "$x" "$y" 2
    else
      echo "click ${f[1]} (${f[2]}) at $x,$y" >>"$events"
      click_point "$x" "$y"
    fi
  elif [ $r -lt 64 ] && [ ${#steps[@]} -gt 0 ]; then
    # A step along the way to an install: an option, a name, an install button.
    fields "${steps[RANDOM % ${#steps[@]}]}"
    echo "step: click ${f[1]}" >>"$events"
    click_at "${f[4]}" "${f[5]}" "${f[6]}" "${f[7]}"
    if [ "${f[2]}" = QLineEdit ]; then
      target="${names[RANDOM % ${#names[@]}]}"
      echo "step: type \"$target\"" >>"$events"
      xdotool key ctrl+a type --delay 2 "$target" || die "xdotool cannot type"
    fi
  elif [ $r -lt 69 ] && [ ${#tabs[@]} -gt 0 ]; then
    fields "${tabs[RANDOM % ${#tabs[@]}]}"
    echo "click the tab ${f[7]}" >>"$events"
    click_at "${f[3]}" "${f[4]}" "${f[5]}" "${f[6]}"
  elif [ $r -lt 77 ]; then
    target="${texts[RANDOM % ${#texts[@]}]}"
    echo "type \"${target:0:40}\"" >>"$events"
    xdotool type --delay 2 "$target" || die "xdotool cannot type"
  elif [ $r -lt 87 ]; then
    target="${keys[RANDOM % ${#keys[@]}]}"
    echo "key $target" >>"$events"
    xdotool key "$target" || die "xdotool cannot press $target"
  elif [ $r -lt 95 ]; then
    arrivals=$((arrivals + 1))
    local kind=$((RANDOM % 6))
    echo "arrival $arrivals (kind $kind)" >>"$events"
    bash "$here/monkey_arrive.sh" "$samples" "$assembly" "$h/tmp" "arrival-$arrivals" "$kind" ||
      die "the add-on could not be put into the assembly area"
  elif [ $r -lt 97 ]; then
    echo "wait" >>"$events"
    sleep "0.$((RANDOM % 9 + 1))"
  elif [ ${#windows[@]} -gt 0 ]; then
    fields "${windows[RANDOM % ${#windows[@]}]}"
    x=$((f[5] + RANDOM % f[7]))
    y=$((f[6] + RANDOM % f[8]))
    echo "click the window ${f[1]} \"${f[2]}\" at $x,$y" >>"$events"
    click_point "$x" "$y"
  fi
}

# Ends the program the orderly way: boxes answered, dialogs closed, then Quit.
quit_program() {
  local tries=0 line
  while kill -0 "$program_pid" 2>/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || die "the program could not be ended with Quit"
    line="$(awk -F'\t' '$1 == "button" { print; exit }' "$probe")"
    if [ -n "$line" ]; then
      fields "$line"
      echo "end: click \"${f[6]}\" in the box \"${f[1]}\"" >>"$events"
      click_at "${f[2]}" "${f[3]}" "${f[4]}" "${f[5]}"
    elif [ -n "$(window_id frmWinZipWarning)" ] && usable cmdOK; then
      echo "end: OK in the warning" >>"$events"
      click_at $(widget_line cmdOK | cut -f5-8)
    elif grep -q "^modal" "$probe" || ! usable cmdQuit; then
      echo "end: key Escape" >>"$events"
      xdotool key Escape
    else
      echo "end: click cmdQuit" >>"$events"
      click_at $(widget_line cmdQuit | cut -f5-8)
    fi
    settle
  done
  check_ending
}

# Keeps the help window clear of the main window, as a user with a window manager would.
help_aside() {
  local id
  id="$(window_id helpWindow)"
  [ -n "$id" ] && xdotool windowmove "$id" 0 0 2>/dev/null
}

# The same seed makes the same choices; what the program shows in between can still differ
# with its timing.
RANDOM=$seed
started=$(date +%s)
start_program
snapshot "$h/last"
for step in $(seq "$count"); do
  printf '%d: ' "$step" >>"$events"
  one_event
  settle
  help_aside
  if ! kill -0 "$program_pid" 2>/dev/null; then
    check_ending
    start_program
    continue
  fi
  check_assembly
done
quit_program
outside >"$h/outside.after"
diff "$h/outside.before" "$h/outside.after" >"$h/outside.diff" ||
  die "files outside the sandbox changed: $(head -n 10 "$h/outside.diff")"

echo "Monkey: $count events with seed $seed in $(($(date +%s) - started)) s, $runs program runs;"
echo "$arrivals arrivals, $copies files checked in their install targets, $old_gauges new gauges" \
  "dropped for a read-only old one;" \
  "$(grep -c '^box' "$log") message boxes, $(grep -c '^begin' "$log") clicks on named buttons"
echo "Message boxes seen: $(awk -F'\t' '$1 == "box" { print $2 }' "$log" | sort | uniq -c | sort -rn |
  awk '{ n = $1; $1 = ""; printf "%s%s x%d", s, $0, n; s = "," }')"
