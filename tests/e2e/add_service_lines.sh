#!/usr/bin/env bash
# Starts the built program in a fresh folder and, with the mouse and keyboard as a person would,
# adds a vehicle, a service of it and two lines of that service, previews the service line report
# and closes the preview, presses Exit and checks the three table files.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run.
set -euo pipefail

program=$1
cdstool=$2
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

started=$(date +%F)
cp "$program" "$work/wrenfold"
mkdir "$work/Data"
"$work/wrenfold" &
pid=$!

source "$(dirname "$0")/xdo_helpers.bash"

# Adds one line through the service line window's New and the line dialog.
addLine() {
  click "$lines" 56 455                    # "New" (19,10 in the grey bar at the foot of the tab)
  local dialog
  dialog=$(window "Add New Service Line")
  focus "$dialog"
  replaceText "$dialog" 272 81 "$1"        # product edit (192,24 inside the content panel at y 45)
  replaceText "$dialog" 216 113 "$2"       # quantity, 1 in a new line
  replaceText "$dialog" 272 145 "$3"       # amount, 0 in a new line
  click "$dialog" 56 202                   # "Save"
  gone "Add New Service Line"
}

main=$(window "Tembra Office - Wrenfold")
focus "$main"
addVehicleThroughWindows "Volvo" "ABC 123"

addServiceThroughWindows "Oil change"

click "$services" 659 458                  # "View Service Line Detail"
lines=$(window "Service Line Detail")
focus "$lines"
addLine "Oil" 2 10.00
addLine "Filter" 1 5.50

click "$lines" 392 455                     # "Print..."
preview=$(window "Print Preview")
focus "$preview"
sleep 0.5
click "$preview" 315 13                    # the tool bar's "Close"
gone "Print Preview"

click "$lines" 696 503                     # "Close"
gone "Service Line Detail"
click "$services" 696 503                  # "Close"
gone "Service Detail"
focus "$main"
click "$main" 941 367                      # "Exit"

waitForExit

# Fails unless the dump of a table file matches every expected extended regular expression.
expectIn() {
  local file=$1
  shift
  test -f "$work/Data/$file" || { echo "$file was not written" >&2; exit 1; }
  local dump
  dump=$("$cdstool" dump "$work/Data/$file")
  for expected in "$@"; do
    if ! grep -Eq -- "$expected" <<<"$dump"; then
      echo "$file lacks $expected:" >&2
      echo "$dump" >&2
      exit 1
    fi
  done
}

expectIn Vehicle.cds '"rowCount": 1,' '"Volvo"' '"ABC 123"'
# The date edit put the current date into the new service.
expectIn Service.cds '"rowCount": 1,' '"Oil change"' "\"dateTime\": \"($started|$(date +%F)) "
# A line's values: line number, service number, product, quantity, amount.
expectIn ServiceLine.cds '"rowCount": 2,' \
  '"current": true, "values": \[1, 1, "Oil", 2, 10(\.0+)?\]' \
  '"current": true, "values": \[2, 1, "Filter", 1, 5\.50*\]'
echo "vehicle, service and two lines added through the windows and written"
