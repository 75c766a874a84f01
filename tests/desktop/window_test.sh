#!/usr/bin/env bash
# The real program in a real window: `orvex-launch --demo` of the build runs under Xvfb (the xcb
# platform) and xdotool's real mouse and keyboard input installs the sample aircraft over a gauge
# of the simulator's own and the sample scenery, a repaint into an aircraft chosen from the
# simulator's list, a second aircraft over the same gauge from its preview, uninstalls the
# repaint and the two aircraft and finds Aircraft.cfg and the original gauge again, sees a second copy
# refused, then quits over links in the assembly area. Where to click comes from the test-only probe plugin loaded into
# the program. Screenshots of each tab and each message box go to OUTPUT_DIR.
# Usage: window_test.sh BUILD_DIR PROBE_PLUGIN_DIR OUTPUT_DIR
set -uo pipefail
build="$1"
plugins="$2"
shots="$3"

source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
need_tools Xvfb xdotool import unzip

work="$(mktemp -d)"
probe="$work/probe"
xvfb_pid=""
program_pid=""
cleanup() {
  stop_session
  rm -rf "$work"
}
trap cleanup EXIT

die() {
  echo "FAIL: $*"
  if [ -f "$probe" ]; then
    echo "--- what the window showed last:"
    cat "$probe"
  fi
  [ -f "$work/program.log" ] && { echo "--- program output:"; cat "$work/program.log"; }
  [ -n "${DISPLAY:-}" ] && import -window root "$shots/failure.png" 2>/dev/null
  exit 1
}

mkdir -p "$shots"
rm -f "$shots"/*.png

start_xvfb "$work" 1280x1024
# A Wine prefix not made yet: Z: is the host root, where the demonstration lies.
WINEPREFIX="$work/no-prefix" TMPDIR="$work" QT_QPA_PLATFORM=xcb QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=orvexprobe \
  ORVEX_PROBE_FILE="$probe" "$build/orvex-launch" --demo >"$work/program.log" 2>&1 &
program_pid=$!

click_widget() {
  wait_for 10 "$1 to be shown and enabled" usable "$1"
  click_at $(widget_line "$1" | cut -f5-8)
}

click_tab() {
  wait_for 10 "the tab $1" tab_place "$1"
  click_at $(tab_place "$1")
  wait_for 10 "the tab $1 to come to the front" current_tab_is "$1"
}

# Answers a message box with one of its buttons, after a screenshot of it.
answer_box() {
  local title="$1" button="$2" shot="$3"
  wait_for 15 "the message box \"$title\"" box_up "$title"
  sleep 0.3  # drawn, not just mapped
  import -window "$(window_id_titled "$title")" "$shots/$shot" || die "no screenshot of $title"
  click_at $(awk -F'\t' -v t="$title" -v b="$button" \
    '$1 == "button" && $2 == t && $7 == b {print $3, $4, $5, $6; exit}' "$probe")
  wait_for 10 "the message box \"$title\" to close" box_gone "$title"
}

window_shot() {
  sleep 0.3
  import -window "$(window_id frmOrvex2)" "$shots/$1" || die "no screenshot $1"
}

main_window_up() { [ -n "$(window_id frmOrvex2)" ] && shown cmdRefresh; }
fs98_chosen() { widget_text labLocation | grep -q 'Sims.FS98$'; }

started=$(date +%s)
wait_for 20 "the main window" main_window_up
root="$(sed -n 's/^Demonstration root: //p' "$work/program.log")"
[ -d "$root/Assembly" ] || die "the launcher did not name the demonstration root"
samples="$root/../Samples"
fs98="$root/../Sims/FS98"
wait_for 5 "FS98 to be chosen" fs98_chosen
window_shot 01-aircraft-tab.png
click_tab Panels
window_shot 02-panels-tab.png
click_tab Scenery
window_shot 03-scenery-tab.png
click_tab Sounds
window_shot 04-sounds-tab.png
click_tab Aircraft

# The simulator's own gauge of the same name, which the aircraft replaces and an uninstall puts
# back.
head -c 3000 /dev/urandom >"$work/original.gau"
cp "$work/original.gau" "$fs98/Gauges/Orvex_Trainer.gau"

# The aircraft: extracted as the user would with a zip program, then Refresh and Install.
unzip -j -q "$samples/aircraft_orvex_trainer.zip" -d "$root/Assembly" || die "cannot unzip the aircraft"
click_widget cmdRefresh
wait_for 10 "the install button" text_is cmdInstall "Install Orvex Trainer to FS98"
wait_for 5 "the preview picture in place of the start picture" hidden Image1
window_shot 05-aircraft-loaded.png
click_widget cmdInstall
answer_box "Success!" OK 06-box-aircraft-installed.png
plane="$fs98/Aircraft/Orvex Trainer"
for f in Aircraft.cfg Orvex_Trainer.air Model/Model.cfg Model/Orvex_Trainer.mdl Panel/panel.cfg \
  Panel/Orvex_Trainer_panel.bmp Sound/sound.cfg Sound/Orvex_Trainer_engine.wav \
  Texture/Orvex_Trainer_t.bmp Documentation/Orvex_Trainer_readme.txt Image/Orvex_Trainer.jpg; do
  [ -f "$plane/$f" ] || die "the aircraft's $f was not installed"
done
unzip -p "$samples/aircraft_orvex_trainer.zip" Orvex_Trainer.gau | cmp -s - "$fs98/Gauges/Orvex_Trainer.gau" ||
  die "the aircraft's gauge did not replace the simulator's own"
[ -z "$(ls "$root/Assembly")" ] || die "the assembly area was not emptied: $(ls "$root/Assembly")"
wait_for 5 "the install button to go" hidden cmdInstall
window_shot 07-aircraft-done.png

# Archives as real ones are packed, opened with Open Archive: the file dialog takes the path
# typed on the keyboard, the archive's folders are kept, Refresh offers what they hold.
file_dialog_up() { awk -F'\t' '$1 == "window" && $4 == "QFileDialog"' "$probe" | grep -q .; }
file_dialog_gone() { ! file_dialog_up; }
open_archive() {
  click_widget cmdOpenArchive
  wait_for 15 "the file dialog" file_dialog_up
  sleep 0.3
  xdotool key ctrl+a type --delay 10 "$1" || die "xdotool cannot type"
  xdotool key Return
  wait_for 15 "the file dialog to close" file_dialog_gone
}
assembly_filled() { [ -n "$(ls "$root/Assembly")" ]; }
open_archive "$samples/aircraft_orvex_racer_liveries.zip"
wait_for 15 "the archive's folder in the assembly area" assembly_filled
[ -f "$root/Assembly/Orvex Racer/texture.2/Orvex_Racer_t.bmp" ] ||
  die "Open Archive did not keep the archive's folders: $(find "$root/Assembly")"
click_widget cmdRefresh
wait_for 10 "the liveried aircraft's install button" text_is cmdInstall "Install Orvex Racer to FS98"
window_shot 07a-liveries-loaded.png
click_widget cmdInstall
answer_box "Success!" OK 07b-box-liveries-installed.png
racer() {
  local plane="$fs98/Aircraft/$1" f
  for f in Aircraft.cfg Orvex_Racer.air Documentation/Orvex_Racer_readme.txt model/Orvex_Racer.mdl \
    panel/panel.cfg panel/Orvex_Racer_panel.bmp sound/sound.cfg sound/Orvex_Racer_engine.wav \
    texture/Orvex_Racer_t.bmp texture.1/Orvex_Racer_t.bmp texture.2/Orvex_Racer_t.bmp; do
    [ -f "$plane/$f" ] || die "$1: $f was not installed"
  done
  cmp -s "$plane/texture.1/Orvex_Racer_t.bmp" "$plane/texture.2/Orvex_Racer_t.bmp" &&
    die "$1: two liveries have the same paint"
  [ -f "$fs98/Gauges/Orvex_Racer.gau" ] || die "$1: the gauge is not in Gauges"
}
racer "Orvex Racer"
[ -z "$(ls "$root/Assembly")" ] || die "the assembly area was not emptied: $(ls "$root/Assembly")"

# A repaint of the racer, opened with Open Archive: the aircraft is chosen from the simulator's
# list, the livery is seen in the Hangar, and its uninstall gives Aircraft.cfg back byte for byte.
racer_cfg="$fs98/Aircraft/Orvex Racer/Aircraft.cfg"
cp "$racer_cfg" "$work/racer.cfg"
target_row() { awk -F'\t' -v t="$2" '$1 == "row" && $2 == "'"$1"'" && $8 == t {print $4, $5, $6, $7; f=1; exit} END {exit !f}' "$probe"; }
open_archive "$samples/repaint_orvex_racer_gold.zip"
wait_for 15 "the repaint in the assembly area" assembly_filled
click_widget cmdRefresh
wait_for 10 "the aircraft to add the livery to" target_row lvwLiveryTarget "Orvex Racer"
text_is labLiveryTarget "Add Livery to:" || die "the list's label: $(widget_text labLiveryTarget)"
click_at $(target_row lvwLiveryTarget "Orvex Racer")
window_shot 07e-repaint-loaded.png
click_widget cmdInstallLivery
answer_box "Success!" OK 07f-box-livery-installed.png
[ -f "$fs98/Aircraft/Orvex Racer/texture.gold/Orvex_Racer_t.bmp" ] || die "the livery's folder was not installed"
grep -q '^title=Orvex Racer Gold' "$racer_cfg" || die "the livery's section was not added: $(cat "$racer_cfg")"
[ -z "$(ls "$root/Assembly")" ] || die "the repaint left the assembly area: $(ls "$root/Assembly")"
click_tab Hangar
wait_for 10 "the racer in the Hangar" target_row lvwHangar "Orvex Racer"
click_at $(target_row lvwHangar "Orvex Racer")
wait_for 10 "the gold livery in the Hangar" target_row lvwLiveries "Orvex Racer Gold"
window_shot 07g-hangar.png

open_archive "$samples/aircraft_orvex_pack.zip"
wait_for 15 "the pack in the assembly area" assembly_filled
click_widget cmdRefresh
wait_for 10 "the pack's list" shown lvwAircraft
wait_for 10 "the pack's install button" text_is cmdInstall "Install 2 Aircraft to FS98"
window_shot 07c-pack-loaded.png
click_widget cmdInstall
answer_box "Success!" OK 07d-box-pack-installed.png
racer "Orvex Pack Racer"
racer "Orvex Pack Racer Two"
[ -z "$(ls "$root/Assembly")" ] || die "the pack left the assembly area: $(ls "$root/Assembly")"
wait_for 5 "the pack's list to go" hidden lvwAircraft

# The scenery: a name typed on the keyboard, the main scenery folder chosen, Install.
unzip -j -q "$samples/scenery_orvex_island.zip" -d "$root/Assembly" || die "cannot unzip the scenery"
click_widget cmdRefresh
wait_for 10 "the Scenery tab" current_tab_is Scenery
click_widget txtSceneryName
xdotool type --delay 20 "Orvex Island" || die "xdotool cannot type"
wait_for 10 "the typed name" text_is txtSceneryName "Orvex Island"
click_widget optSceneryDefault
wait_for 5 "the target label" text_has labSceneryDir "Orvex Island"
window_shot 08-scenery-loaded.png
click_widget Command1
answer_box "Success!" OK 09-box-scenery-installed.png
island="$fs98/Scenery/Orvex Island"
for f in Scenery/Orvex_Island.bgl Scenery/Orvex_Island_airport.bgl Texture/Orvex_Island_grass.bmp \
  Texture/Orvex_Island_shore.r8 Unknown/Orvex_Island.txt; do
  [ -f "$island/$f" ] || die "the scenery's $f was not installed"
done
grep -q '^Title=Orvex Island' "$fs98/Scenery.cfg" || die "the scenery was not registered"
grep -q '^\[Area.004\]' "$fs98/Scenery.cfg" || die "the scenery's area is not the fourth"
wait_for 10 "the Aircraft tab after the install" current_tab_is Aircraft
window_shot 10-after-scenery.png

# A second aircraft with a gauge of the same name: its preview names what the first install
# put there, and its Install button installs it.
unzip -j -q "$samples/aircraft_orvex_trainer.zip" -d "$root/Assembly" || die "cannot unzip the aircraft"
sed -i 's/^title=.*/title=Orvex Trainer Two/' "$root/Assembly/Aircraft.cfg"
head -c 2000 /dev/urandom >"$work/second.gau"
cp "$work/second.gau" "$root/Assembly/Orvex_Trainer.gau"
click_widget cmdRefresh
wait_for 10 "the second aircraft's install button" text_is cmdInstall "Install Orvex Trainer Two to FS98"
click_widget cmdPreview
preview_up() { [ -n "$(window_id frmPreview)" ] && shown cmdPreviewInstall; }
wait_for 15 "the preview window" preview_up
preview_row() { awk -F'\t' -v f="$1" '$1 == "row" && $2 == "lvwPreview" && $8 == f' "$probe"; }
wait_for 5 "the preview's row of the gauge" preview_row Orvex_Trainer.gau
preview_row Orvex_Trainer.gau | cut -f11 | grep -q "Orvex Trainer" ||
  die "the preview does not name the install whose gauge is replaced: $(preview_row Orvex_Trainer.gau)"
preview_row Aircraft.cfg | cut -f10 | grep -q 'Aircraft.Orvex Trainer Two' ||
  die "the preview does not put Aircraft.cfg into the new folder: $(preview_row Aircraft.cfg)"
text_has labPreviewSummary "Orvex Trainer Two" || die "the preview's summary: $(widget_text labPreviewSummary)"
[ ! -e "$fs98/Aircraft/Orvex Trainer Two" ] || die "the preview installed something"
sleep 0.3
import -window "$(window_id frmPreview)" "$shots/11-preview.png" || die "no screenshot of the preview"
click_widget cmdPreviewInstall
answer_box "Success!" OK 12-box-second-aircraft-installed.png
cmp -s "$work/second.gau" "$fs98/Gauges/Orvex_Trainer.gau" || die "the second gauge was not installed"
[ -f "$fs98/Aircraft/Orvex Trainer Two/Aircraft.cfg" ] || die "the second aircraft was not installed"

# The Installed tab takes off the first aircraft, then the second; the simulator's own gauge is
# back as it was.
install_row() { awk -F'\t' -v n="$1" '$1 == "row" && $2 == "lvwInstalled" && $10 == n {print $4, $5, $6, $7; f=1; exit} END {exit !f}' "$probe"; }
no_install_row() { ! install_row "$1"; }
uninstall() {
  wait_for 10 "the installs list to show $1" install_row "$1"
  click_at $(install_row "$1")
  wait_for 5 "the Uninstall button" usable cmdUninstall
  click_widget cmdUninstall
  answer_box Uninstall Yes "$2-box-uninstall.png"
  answer_box "Success!" OK "$2-box-uninstalled.png"
  wait_for 10 "$1 to leave the installs list" no_install_row "$1"
}
click_tab Installed
window_shot 13-installed-tab.png
uninstall "Orvex Racer Gold" 13a
cmp -s "$work/racer.cfg" "$racer_cfg" || die "the racer's Aircraft.cfg is not back byte for byte"
[ ! -e "$fs98/Aircraft/Orvex Racer/texture.gold" ] || die "the livery's folder is still there"
uninstall "Orvex Trainer" 14
[ ! -e "$fs98/Aircraft/Orvex Trainer" ] || die "the first aircraft's folder is still there"
cmp -s "$work/second.gau" "$fs98/Gauges/Orvex_Trainer.gau" ||
  die "uninstalling the first aircraft changed the gauge the second one installed"
uninstall "Orvex Trainer Two" 15
[ ! -e "$fs98/Aircraft/Orvex Trainer Two" ] || die "the second aircraft's folder is still there"
cmp -s "$work/original.gau" "$fs98/Gauges/Orvex_Trainer.gau" ||
  die "the simulator's own gauge is not back byte for byte"
window_shot 16-installed-after-uninstalls.png

# The Scenery Library: the pointer disables an area, the arrow keys choose another that moves up,
# and Remove Entry takes out the area the scenery's install added (No to its uninstall); the list
# differs in those lines alone. The three changes come off again from the Installed tab, in no
# particular order, and the list is back byte for byte.
list_before="$work/scenery-before.cfg"
cp "$fs98/Scenery.cfg" "$list_before"
library_row() { awk -F'\t' -v t="$1" '$1 == "row" && $2 == "lvwLibrary" && $8 == t {print $4, $5, $6, $7; f=1; exit} END {exit !f}' "$probe"; }
choose_area() {
  wait_for 10 "the library to list $1" library_row "$1"
  click_at $(library_row "$1")
  wait_for 5 "$1 to be chosen" text_has labLibraryNote "$1 [Area."
}
# The list with the three changes made, from the list before them: CR LF lines as the demo's.
# The removed area goes with the blank line that set it apart.
expected_library() {
  awk '/^\[Area\.004\]\r$/ {gone = 1; held = ""} gone {next}
       held != "" {print held; held = ""}
       /^ *\r$/ {held = $0; next}
       /^Title=/ {title = $0}
       title == "Title=Demo Coast\r" && $0 == "Layer=3\r" {print "Layer=2\r"; next}
       title == "Title=Demo Coast\r" && $0 == "Active=TRUE\r" {print "Active=FALSE\r"; next}
       title == "Title=Default Airports\r" && $0 == "Layer=2\r" {print "Layer=3\r"; next}
       {print}
       END {if (held != "") print held}' "$list_before"
}
list_has() { grep -q "$1" "$fs98/Scenery.cfg"; }
click_tab "Scenery Library"
wait_for 10 "the library to list Orvex Island" library_row "Orvex Island"
window_shot 16a-scenery-library.png
choose_area "Demo Coast"
click_widget cmdLibraryDisable
wait_for 10 "Demo Coast to be disabled" text_has labLibraryNote "Disabled Demo Coast."
# Back in the list, where the area stays chosen, the arrow key chooses the one below it.
click_at $(library_row "Demo Coast")
xdotool key Down || die "xdotool cannot press a key"
wait_for 5 "the arrow key to choose Default Airports" text_has labLibraryNote "Default Airports [Area."
click_widget cmdLibraryUp
wait_for 10 "Default Airports to move up" text_has labLibraryNote "Moved Up Default Airports"
choose_area "Orvex Island"
click_widget cmdLibraryRemove
answer_box "Remove Entry" No 16b-box-remove-entry.png
no_island() { ! list_has 'Orvex Island'; }
wait_for 10 "Orvex Island to leave the list" no_island
[ -d "$island/Scenery" ] || die "Remove Entry took the scenery's folder too"
expected_library | cmp -s - "$fs98/Scenery.cfg" ||
  die "the list differs in more than the three changes: $(expected_library | diff - "$fs98/Scenery.cfg" | cat -A)"
cmp -s "$list_before" "$fs98/SceneryCfg.bku" && die "the backup still holds the list before the first change"
window_shot 16c-scenery-library-changed.png
click_tab Installed
uninstall "Moved Up Default Airports" 16d
uninstall "Disabled Demo Coast" 16e
uninstall "Removed Orvex Island" 16f
cmp -s "$list_before" "$fs98/Scenery.cfg" ||
  die "Scenery.cfg is not back byte for byte: $(diff "$list_before" "$fs98/Scenery.cfg" | cat -A)"

# A second copy started on the same root says that the first runs there, and ends; the first
# one goes on.
WINEPREFIX="$work/no-prefix" TMPDIR="$work" QT_QPA_PLATFORM=xcb QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=orvexprobe \
  ORVEX_PROBE_FILE="$work/probe2" ORVEX_ROOT="$root" "$build/orvex-launch" >"$work/second.log" 2>&1 &
second_pid=$!
first_probe="$probe"
probe="$work/probe2"
wait_for 15 "the message box of the second copy" box_up "Orvex"
box_text="$(awk -F'\t' '$1 == "message" && $2 == "Orvex" {print $3; exit}' "$probe")"
[ "$box_text" = "Orvex is already running in $(printf 'Z:%s' "$root" | tr / '\\')." ] ||
  die "the second copy said: $box_text"
sleep 0.3
import -window "$(window_id_titled Orvex)" "$shots/17-box-already-running.png" || die "no screenshot of the second copy's box"
click_at $(awk -F'\t' '$1 == "button" && $2 == "Orvex" && $7 == "OK" {print $3, $4, $5, $6; exit}' "$probe")
probe="$first_probe"
second_ended() { ! kill -0 "$second_pid" 2>/dev/null; }
wait_for 10 "the second copy to end" second_ended
wait "$second_pid" || die "the second copy ended with status $?"
kill -0 "$program_pid" 2>/dev/null || die "the second copy ended the first one"

# Links in the assembly area, to the root directory itself and to the user's own files: Quit
# removes them as links, and what they point at stays as it was.
mkdir -p "$work/home/keep"
echo "the user's" >"$work/home/keep/a.txt"
chmod 444 "$work/home/keep/a.txt"
ln -s .. "$root/Assembly/Panel"
ln -s "$work/home/keep" "$root/Assembly/Model"
ln -s "$work/home/keep/a.txt" "$root/Assembly/notes.txt"

# Quit/Exit ends the program the orderly way: the settings copy lies in the assembly area.
click_widget cmdQuit
for _ in $(seq 100); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && die "the program did not end after Quit/Exit"
wait "$program_pid"
status=$?
program_pid=""
[ "$status" -eq 0 ] || die "the program ended with status $status"
[ -f "$root/Assembly/Orvex.cfg" ] || die "no settings copy in the assembly area after Quit/Exit"
for f in FileCopy.avi Orvex.cfg Installs.db; do
  [ -f "$root/$f" ] || die "Quit/Exit deleted $f through a link in the assembly area"
done
[ "$(cat "$work/home/keep/a.txt")" = "the user's" ] && [ "$(stat -c %a "$work/home/keep/a.txt")" = 444 ] ||
  die "Quit/Exit changed the user's file through a link"
[ -z "$(find "$root/Assembly" -type l)" ] || die "links left in the assembly area: $(find "$root/Assembly" -type l)"

echo "Installed two aircraft, one from its preview, and a scenery, and uninstalled the aircraft in the real window in $(($(date +%s) - started)) s;"
echo "screenshots in $shots: $(cd "$shots" && ls | tr '\n' ' ')"
