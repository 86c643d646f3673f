#!/usr/bin/env bash
# Letters are stored in the code page the locale selects, or not at all: under pl_PL "Łódź" typed
# as a make is stored as the Windows-1250 bytes A3 F3 64 9F and comes back as "Łódź" after a
# restart (copied out of the make and pasted into the registration, which a wrong letter would
# turn into a refused paste); under en_GB the "Ω" of "Ωmega" is refused as it is typed, so the
# make is stored as "mega" and never as "?mega".
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run.
set -euo pipefail

program=$1
cdstool=$2
source "$(dirname "$0")/xdo_helpers.bash"

hexOf() { od -An -tx1 -v "$1" | tr -d ' \n'; }

# Counts the places a byte sequence (hex) occurs in a file.
countBytes() { hexOf "$1" | grep -o "$2" | wc -l; }

noInformationBox() {
  [ -z "$(xdotool search --onlyvisible --name '^Information$' 2>/dev/null || true)" ] ||
    fail "$1"
}

unset LC_ALL LC_CTYPE

# The letters typed here get keys of their own before the program starts: xdotool would otherwise
# remap a spare key for each of them while typing, and on a busy machine the program can read the
# key before the new map and lose the letter.
xmodmap -e "keycode 247 = Lstroke" -e "keycode 248 = oacute" -e "keycode 249 = zacute" \
  -e "keycode 250 = Greek_OMEGA"

# ---- pl_PL: Windows-1250 ----
export LANG=pl_PL.UTF-8
startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
addVehicleThroughWindows "Łódź"
click "$main" 941 367                       # "Exit"
waitForExit
file="$work/Data/Vehicle.cds"
[ -f "$file" ] || fail "Vehicle.cds was not written"
[ "$(countBytes "$file" a3f3649f)" -eq 1 ] ||
  fail "the make is not stored as A3 F3 64 9F; Vehicle.cds holds: $("$cdstool" --code-page 1250 dump "$file")"
expectInTable "$cdstool" "$file" '"Łódź"'   # cdstool reads the file as the locale's code page

startAgain
main=$(window "Tembra Office - Wrenfold")
focus "$main"
click "$main" 104 102                       # "Vehicle Details"
vehicles=$(window "Vehicle Detail")
focus "$vehicles"
click "$vehicles" 144 215                   # "Edit"
dialog=$(window "Edit Vehicle")
focus "$dialog"
click "$dialog" 272 81                      # make
key ctrl+a ctrl+c
click "$dialog" 272 177                     # registration
key ctrl+a ctrl+v
noInformationBox "the make shown after the restart could not be pasted into the registration"
click "$dialog" 56 233                      # "Save"
gone "Edit Vehicle"
click "$vehicles" 696 503                   # "Close"
gone "Vehicle Detail"
focus "$main"
click "$main" 941 367                       # "Exit"
waitForExit
[ "$(countBytes "$file" a3f3649f)" -eq 2 ] ||
  fail "the make shown after the restart is not \"Łódź\"; Vehicle.cds holds: $("$cdstool" --code-page 1250 dump "$file")"
kill -9 "$pid" 2>/dev/null || true
rm -rf "$work"

# ---- en_GB: Windows-1252 ----
export LANG=en_GB.UTF-8
startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
addVehicleThroughWindows "Ωmega"
click "$main" 941 367                       # "Exit"
waitForExit
file="$work/Data/Vehicle.cds"
dump=$("$cdstool" dump "$file")
grep -qF '"mega"' <<<"$dump" || fail "the make is not stored as \"mega\"; Vehicle.cds holds: $dump"
if grep -qF '?mega' <<<"$dump" || [ "$(countBytes "$file" 3f6d656761)" -ne 0 ]; then
  fail "\"Ωmega\" was stored as \"?mega\""
fi
echo "letters stored in the locale's code page (1250: A3 F3 64 9F), others refused, never \"?\""
