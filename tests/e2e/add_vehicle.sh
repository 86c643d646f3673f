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

# Finds a window by its exact title, waiting up to 20 seconds.
window() {
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  echo "window '$1' did not appear" >&2
  return 1
}

# Clicks at a point of a window's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.2
  xdotool click 1
  sleep 0.4
}

# Types into the window that has the keyboard focus.
typeText() {
  xdotool type --delay 30 "$1"
  sleep 0.2
}

main=$(window "Tembra Office - Wrenfold")
xdotool windowfocus --sync "$main" || true
click "$main" 104 102                      # "Vehicle Details"

detail=$(window "Vehicle Detail")
xdotool windowfocus --sync "$detail" || true
click "$detail" 56 215                     # "New"

dialog=$(window "Add New Vehicle")
xdotool windowfocus --sync "$dialog" || true
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
xdotool windowfocus --sync "$main" || true
click "$main" 941 367                      # "Exit"

for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the program did not end after Exit" >&2
  exit 1
fi

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
