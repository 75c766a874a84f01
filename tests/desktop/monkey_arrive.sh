#!/usr/bin/env bash
# Files arriving in the assembly area as a user's zip program puts them there, for the monkey
# test: a sample add-on or a few stray files, extracted flat, each made unique by a line with
# MARK at its end so that its copy can be told from any other. Names already in the assembly
# area are left alone. The monkey calls it for its own arrivals, and the program starts it as
# the zip program of the monkey's desktop.
# Usage: monkey_arrive.sh SAMPLES_DIR ASSEMBLY_DIR STAGING_DIR MARK [KIND]
#   KIND 0-3: one of the sample archives; 4: stray notes; 5: a lone configuration file;
#   anything else or none: one of these at random.
set -uo pipefail
samples="$1"
assembly="$2"
staging="$3"
mark="$4.$$"
kind="${5:-$((RANDOM % 6))}"

stage="$(mktemp -d "$staging/arrival.XXXXXX")" || exit 1
trap 'rm -rf "$stage"' EXIT
# The four flat samples: the aircraft in its folder and the pack are opened with Open Archive.
zips=("$samples"/aircraft_orvex_trainer.zip "$samples"/panel_orvex_sport.zip
  "$samples"/scenery_orvex_island.zip "$samples"/sound_orvex_radial.zip)
case "$kind" in
  0 | 1 | 2 | 3) unzip -j -q -o "${zips[kind % ${#zips[@]}]}" -d "$stage" || exit 1 ;;
  4) printf 'Notes that came with the download\r\n' >"$stage/readme_$mark.txt" ;;
  *) printf '[fltsim.0]\r\ntitle=Stray %s\r\n' "$mark" >"$stage/Aircraft.cfg" ;;
esac
for f in "$stage"/*; do
  printf '\r\n; monkey %s\r\n' "$mark" >>"$f"
  # The same file system: each file appears whole, at once.
  mv -n "$f" "$assembly/"
done
