#!/usr/bin/env bash
# Nothing posted is lost when the program is killed: adds a vehicle and a service through the
# windows, tries a second program on the same Data folder (one error box, then it ends), kills
# the first one, copies the program and its Data folder elsewhere (new file times), starts the
# copy, sees the recovery box and the vehicle in the grid, presses Exit and finds both records
# in the table files. A temporary file of a write cut short is gone after the start; a file of
# the user's beside the tables is not.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run.
set -euo pipefail

program=$1
cdstool=$2
work=$(mktemp -d)
pid=
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$program" "$work/wrenfold"
mkdir "$work/Data"
"$work/wrenfold" &
pid=$!

source "$(dirname "$0")/xdo_helpers.bash"

fail() {
  echo "$1" >&2
  exit 1
}

# Dark (text) pixels in the first row of the main window's vehicle grid.
textInFirstGridRow() {
  import -window "$1" "$work/main.png"
  convert "$work/main.png" -crop 700x14+240+104 +repage -colorspace gray -threshold 30% \
    -format '%[fx:int(w*h*(1-mean))]' info:
}

waitForEnd() {
  for _ in $(seq 100); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# A first session writes a vehicle file at Exit, so that the journal below names a real file.
main=$(window "Tembra Office - Wrenfold")
focus "$main"
addVehicleThroughWindows "Volvo" "FIRST 1"
click "$main" 941 367                      # "Exit"
waitForEnd "$pid" || fail "the first session did not end after Exit"
[ -s "$work/Data/Vehicle.cds" ] || fail "the first session did not write Vehicle.cds"
"$work/wrenfold" &
pid=$!

main=$(window "Tembra Office - Wrenfold")
focus "$main"
addVehicleThroughWindows "Saab" "KILL 9"

addServiceThroughWindows "Brake pads"
click "$services" 696 503                  # "Close"
gone "Service Detail"

# A second program on the same folder: one error box, and it ends without opening anything.
"$work/wrenfold" &
second=$!
box=$(window "Error")
focus "$box"
xdotool key Return
waitForEnd "$second" || fail "the second program did not end after its error box"
set +e
wait "$second"
status=$?
set -e
[ "$status" -ne 0 ] || fail "the second program ended with status 0"
[ "$(xdotool search --onlyvisible --name '^Tembra Office - Wrenfold$' | wc -l)" -eq 1 ] ||
  fail "the second program opened a main window"

# The changes are in the journals only; the kill leaves no chance to write the tables.
[ -s "$work/Data/Vehicle.journal" ] || fail "Vehicle.journal is missing after the post"
[ -s "$work/Data/Service.journal" ] || fail "Service.journal is missing after the post"
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
[ ! -e "$work/Data/Service.cds" ] || fail "Service.cds was written before Exit"
"$cdstool" dump "$work/Data/Vehicle.cds" | grep -q '"KILL 9"' && fail "Vehicle.cds was written before Exit"

# A plain copy, as when a backup is restored or the folder moves to a new disk: every file gets
# a new time. The journals must still apply.
sleep 1.1
copy=$(mktemp -d)
cp -r "$work/wrenfold" "$work/Data" "$copy/"
rm -rf "$work"
work=$copy
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# What a kill during a table write leaves, and a file of the user's.
head -c 100000 /dev/zero >"$work/Data/Service.cds.wrenfold-write-Ab12Cd"
echo "my own copy" >"$work/Data/Vehicle.cds.backup"

"$work/wrenfold" &
pid=$!
box=$(window "Information")
import -window root "$work/recovery-box.png"
focus "$box"
xdotool key Return
gone "Information"
main=$(window "Tembra Office - Wrenfold")
focus "$main"
sleep 0.5
[ "$(textInFirstGridRow "$main")" -gt 20 ] || fail "the recovered vehicle is not in the main window's grid"

click "$main" 941 367                      # "Exit"
waitForEnd "$pid" || fail "the program did not end after Exit"

for table in Vehicle Service; do
  [ ! -e "$work/Data/$table.journal" ] || fail "$table.journal is still there after Exit"
done
[ ! -e "$work/Data/Service.cds.wrenfold-write-Ab12Cd" ] || fail "the stale temporary file is still there"
ls "$work/Data" | grep -q 'wrenfold-write' && fail "a temporary file is left: $(ls "$work/Data")"
[ "$(cat "$work/Data/Vehicle.cds.backup")" = "my own copy" ] || fail "the user's Vehicle.cds.backup was touched"
ls "$work/Data" | grep -q 'journal\.' && fail "a journal was set aside: $(ls "$work/Data")"
"$cdstool" dump "$work/Data/Vehicle.cds" | grep -q '"KILL 9"' || fail "Vehicle.cds lacks the vehicle"
"$cdstool" dump "$work/Data/Vehicle.cds" | grep -q '"FIRST 1"' || fail "Vehicle.cds lost the first vehicle"
"$cdstool" dump "$work/Data/Service.cds" | grep -q '"Brake pads"' || fail "Service.cds lacks the service"
echo "vehicle and service recovered after a kill and a copy of the folder, written at Exit; a second program was refused"
