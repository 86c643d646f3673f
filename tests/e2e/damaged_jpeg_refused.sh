#!/usr/bin/env bash
# A damaged picture never becomes a vehicle's photo: in the vehicle dialog a whole JPEG is taken
# through "...", then a copy cut off after 3,000 bytes and a named pipe are chosen the same way;
# each brings up an error box at once and the photo box keeps the whole picture, which Save
# stores.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
cdstool=$2
source "$(dirname "$0")/xdo_helpers.bash"

startProgram "$program"
pictures=$(mktemp -d)
trap 'kill -9 "$pid" 2>/dev/null || true; rm -rf "$work" "$pictures"' EXIT
convert -size 320x240 plasma:fractal -seed 7 -quality 90 "$pictures/car.jpg"
head -c 3000 "$pictures/car.jpg" >"$pictures/cut.jpg"
mkfifo "$pictures/pipe.jpg"

main=$(window "Tembra Office - Wrenfold")
openNewVehicleDialog
replaceText "$dialog" 272 81 "Lada"

# The photo box: a frame panel at 467,13 of the content panel (y 45), 190 by 140.
photoBox() {
  local x y
  read -r x y < <(clientOrigin "$dialog")
  grab "$work/screen.png"
  convert "$work/screen.png" -crop "176x126+$((x + 474))+$((y + 65))" +repage "$1"
}

choosePicture() {
  click "$dialog" 676 118                  # "..."
  local open
  open=$(window "Open")
  focus "$open"
  typeText "$1"
  key Return
}

choosePicture "$pictures/car.jpg"
gone "Open"
sleep 0.5
photoBox "$work/whole.png"
[ "$(convert "$work/whole.png" -format '%k' info:)" -gt 50 ] || fail "the whole picture is not shown"

for bad in cut.jpg pipe.jpg; do
  choosePicture "$pictures/$bad"
  box=$(messageBox "$main" "$vehicles" "$dialog")
  text=$(boxText "$box")
  case $bad in
    cut.jpg) expected="JPEG error #" ;;
    pipe.jpg) expected="Cannot open file $pictures/pipe.jpg: it is not a regular file" ;;
  esac
  grep -qF "$expected" <<<"$text" || fail "choosing $bad: the box says $text"
  key Return
  gone "Open"
  sleep 0.5
  photoBox "$work/after.png"
  [ "$(compare -metric AE "$work/whole.png" "$work/after.png" null: 2>&1)" = "0" ] ||
    fail "choosing $bad changed the photo box"
done

focus "$dialog"
click "$dialog" 56 233                     # "Save"
gone "Add New Vehicle"
click "$vehicles" 696 503                  # "Close"
gone "Vehicle Detail"
focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
expectInTable "$cdstool" "$work/Data/Vehicle.cds" '"Lada"'
echo "damaged pictures refused, the whole one stored"
