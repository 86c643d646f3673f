#!/usr/bin/env bash
# Starts the built program in a fresh folder, adds a vehicle through the vehicle window and its
# dialog with the mouse and keyboard as a person would, presses Exit, and checks the table file.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run.
set -euo pipefail

program=$1
cdstool=$2
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$program" "$work/wrenfold"
mkdir "$work/Data"
"$work/wrenfold" &
pid=$!

source "$(dirname "$0")/xdo_helpers.bash"

main=$(window "Tembra Office - Wrenfold")
focus "$main"
click "$main" 104 102                      # "Vehicle Details"

detail=$(window "Vehicle Detail")
focus "$detail"
click "$detail" 56 215                     # "New"

dialog=$(window "Add New Vehicle")
focus "$dialog"
sleep 0.5
click "$dialog" 272 81                     # make edit (192,24 inside the content panel at y 45)
typeText "Volvo"
click "$dialog" 272 113                    # model
typeText "240 GL"
click "$dialog" 272 145                    # year
typeText "1989"
click "$dialog" 272 177                    # registration
typeText "ABC 123"
click "$dialog" 56 233                     # "Save"

sleep 0.5
click "$detail" 696 493                    # "Close"
sleep 0.5
focus "$main"
click "$main" 941 367                      # "Exit"

waitForExit

test -f "$work/Data/Vehicle.cds" || { echo "Vehicle.cds was not written" >&2; exit 1; }
for unchanged in Service ServiceLine ServiceInvoice Expense; do
  if [ -e "$work/Data/$unchanged.cds" ]; then
    echo "$unchanged.cds was written although unchanged" >&2
    exit 1
  fi
done

dump=$("$cdstool" dump "$work/Data/Vehicle.cds")
for expected in '"Volvo"' '"240 GL"' '"1989"' '"ABC 123"'; do
  if ! grep -q -- "$expected" <<<"$dump"; then
    echo "Vehicle.cds lacks $expected:" >&2
    echo "$dump" >&2
    exit 1
  fi
done
echo "vehicle added through the windows and written to Vehicle.cds"
