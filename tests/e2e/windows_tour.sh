#!/usr/bin/env bash
# Every window opened by its button and closed again, each probed at a few pixels whose colours
# the design fixes (the middle row of the 45-pixel bars carries the bar's darkest colour, the
# frame is grey, the content panel white), every dialog opened by New and left by Cancel, and
# Delete answered No and Yes in its confirmation. Exit, then the files hold what was kept.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
cdstool=$2
source "$(dirname "$0")/xdo_helpers.bash"

readonly TITLE_BAR="16,132,208" BUTTON_BAR="0,159,0" GREY_BAR="170,170,170" FRAME="128,128,128"
readonly WHITE="255,255,255"

# Probes the bars every window has: the title bar at the top and the button bar at the bottom.
probeBars() {
  local name=$1 win=$2 shot h
  shot="$work/probe.png"
  sleep 0.3
  grab "$shot"
  read -r _ h < <(clientSize "$win")
  expectPixel "$shot" "$win" 8 22 "$TITLE_BAR" "$name: title bar, middle row"
  expectPixel "$shot" "$win" 200 0 "$FRAME" "$name: title bar, frame"
  expectPixel "$shot" "$win" 8 $((h - 23)) "$BUTTON_BAR" "$name: button bar, middle row"
  shift 2
  local y
  for y in "$@"; do
    expectPixel "$shot" "$win" 8 "$y" "$GREY_BAR" "$name: grey bar, middle row at $y"
  done
}

# Opens a dialog with the button at (x, y) of a window, probes it and leaves it by Cancel.
openAndCancel() {
  local owner=$1 x=$2 y=$3 title=$4 cancelX=$5 dialog h
  click "$owner" "$x" "$y"
  dialog=$(window "$title")
  expectCentredOn "$dialog" "$main" "$title"
  probeBars "$title" "$dialog"
  read -r _ h < <(clientSize "$dialog")
  click "$dialog" "$cancelX" $((h - 23))   # "Cancel"
  gone "$title"
}

# Fills a dialog's first edit (the focus goes there when it opens) and presses Save.
newWithDescription() {
  local owner=$1 x=$2 y=$3 title=$4 text=$5 dialog h
  click "$owner" "$x" "$y"
  dialog=$(window "$title")
  typeText "$text"
  read -r _ h < <(clientSize "$dialog")
  click "$dialog" 56 $((h - 23))           # "Save"
  gone "$title"
}

startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
focus "$main"
probeBars "main window" "$main"
shot="$work/probe.png"
expectPixel "$shot" "$main" 15 195 "$WHITE" "main window: navigation panel, white body"

# Vehicle Detail, the vehicle dialog, and Delete answered No.
click "$main" 104 102                      # "Vehicle Details"
vehicles=$(window "Vehicle Detail")
probeBars "Vehicle Detail" "$vehicles" 215
openAndCancel "$vehicles" 56 215 "Add New Vehicle" 652
newWithDescription "$vehicles" 56 215 "Add New Vehicle" "Saab"
click "$vehicles" 232 215                  # "Delete"
confirmBox=$(window "Confirm")
focus "$confirmBox"
key Escape                                 # No
gone "Confirm"
click "$vehicles" 696 503                  # "Close"
gone "Vehicle Detail"

# Service Detail, the service dialog, Delete answered Yes, the service line window with its
# two dialogs.
focus "$main"
click "$main" 104 194                      # "Service Details"
services=$(window "Service Detail")
probeBars "Service Detail" "$services" 215 458
openAndCancel "$services" 56 458 "Add New Service" 468
newWithDescription "$services" 56 458 "Add New Service" "Oil"
click "$services" 232 458                  # "Delete"
confirmBox=$(window "Confirm")
focus "$confirmBox"
key Return                                 # Yes
gone "Confirm"
newWithDescription "$services" 56 458 "Add New Service" "Brakes"
click "$services" 659 458                  # "View Service Line Detail"
lines=$(window "Service Line Detail")
expectCentredOn "$lines" "$main" "Service Line Detail"
# The tab page's bar lies right under the 167-pixel grid, its middle row 22 pixels lower.
probeBars "Service Line Detail" "$lines" 215 455
openAndCancel "$lines" 56 456 "Add New Service Line" 468
click "$lines" 180 250                     # the "Service Invoices" tab
openAndCancel "$lines" 56 456 "Add New Service Invoice" 468
click "$lines" 696 503                     # "Close"
gone "Service Line Detail"
click "$services" 696 503                  # "Close"
gone "Service Detail"

# Expense Detail and the expense dialog.
focus "$main"
click "$main" 104 286                      # "Expense Details"
expenses=$(window "Expense Detail")
probeBars "Expense Detail" "$expenses" 215 458
openAndCancel "$expenses" 56 458 "Add New Expense" 468
click "$expenses" 696 503                  # "Close"
gone "Expense Detail"

focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
expectInTable "$cdstool" "$work/Data/Vehicle.cds" '"Saab"'
expectInTable "$cdstool" "$work/Data/Service.cds" '"Brakes"'
if "$cdstool" dump "$work/Data/Service.cds" | grep -qF '"Oil"'; then
  fail "Service.cds still holds the service deleted with Yes"
fi
echo "every window opened, probed and closed; Delete answered No kept, Yes removed"
