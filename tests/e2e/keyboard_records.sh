#!/usr/bin/env bash
# Keyboard alone, as a person who never touches the mouse: a vehicle, a service with a typed
# date, two service lines and an expense with a typed date and amount, each dialog filled by
# typing and Tab and saved with Space on Save; Escape does not close a window; typing in a grid
# changes no record. Exit, then the table files hold exactly what was typed.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
cdstool=$2
source "$(dirname "$0")/xdo_helpers.bash"

startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
focus "$main"

# Main window: the vehicle grid has the focus first; Exit, then "Vehicle Details".
key Tab Tab space
window "Vehicle Detail" >/dev/null
key Tab Tab space                          # Close, vehicle grid, New
window "Add New Vehicle" >/dev/null
typeText "Volvo";   key Tab
typeText "240 GL";  key Tab
typeText "1989";    key Tab
typeText "ABC 123"
key Tab Tab Tab Tab space                  # Paste, Copy, "...", Save
gone "Add New Vehicle"
key Escape
window "Vehicle Detail" >/dev/null         # Escape closes nothing
key shift+Tab shift+Tab space              # back from New over the grid to Close
gone "Vehicle Detail"

# Service Details: Close, vehicle grid, Print..., service grid, Delete, New.
key Tab space
services=$(window "Service Detail")
key Tab Tab Tab Tab Tab space
window "Add New Service" >/dev/null
typeText "Oil change"; key Tab
typeText "020326";     key Tab             # 2 March 2026 over the date the edit proposes
typeText "Me";         key Tab
typeText "182400";     key Tab
typeText "Filter too"
key Tab space                              # Save
gone "Add New Service"

# Typing in the service grid changes nothing: the current record stays.
click "$services" 300 300
typeText "Zzz"

# View Service Line Detail is the stop after Edit; from the grid: Delete, New, Edit, View.
key Tab Tab Tab Tab space
window "Service Line Detail" >/dev/null
# Close, service grid, tabs, then New on the lines tab.
addLine() {
  key Tab Tab Tab space
  window "Add New Service Line" >/dev/null
  typeText "$1"; key Tab
  typeText "$2"; key Tab                   # over the quantity 1 a new line starts with
  typeText "$3"; key Tab                   # over the amount 0
  key space                                # Save
  gone "Add New Service Line"
  key shift+Tab shift+Tab shift+Tab        # from New back to Close
}
addLine "Oil 5W-30" 4 7.5
addLine "Oil filter" 1 12.25
key space                                  # Close
gone "Service Line Detail"
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space  # Close
gone "Service Detail"

# Expense Details: Close, vehicle grid, Print..., expense grid, Delete, New.
focus "$main"
key Tab space
window "Expense Detail" >/dev/null
key Tab Tab Tab Tab Tab space
window "Add New Expense" >/dev/null
typeText "Road tax"; key Tab
typeText "150126";   key Tab               # 15 January 2026
typeText "120.50";   key Tab
key Tab Tab space                          # file path, "...", Save
gone "Add New Expense"
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space   # New back to Close
gone "Expense Detail"

focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit

expectInTable "$cdstool" "$work/Data/Vehicle.cds" '"Volvo"' '"240 GL"' '"1989"' '"ABC 123"'
expectInTable "$cdstool" "$work/Data/Service.cds" '"Oil change"' '2026-03-02' '"Me"' '"182400"' \
  '"Filter too"'
# Product, quantity and amount of each line: the typed values replaced the 1 and 0 proposed.
expectInTable "$cdstool" "$work/Data/ServiceLine.cds" '"Oil 5W-30", 4, 7.5]' '"Oil filter", 1, 12.25]'
expectInTable "$cdstool" "$work/Data/Expense.cds" '"Road tax"' '2026-01-15' '120.5'
echo "records typed by keyboard alone are stored as typed"
