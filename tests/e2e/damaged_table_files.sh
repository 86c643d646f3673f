#!/usr/bin/env bash
# A table file that cannot be read is named in its error box and left as it is: Vehicle.cds cut
# short, full of random bytes and empty, and an empty Expense.cds, each at a start of its own.
# Every box names the file and says that it is damaged, was left unchanged and which records
# cannot be shown; after Exit the file holds the same bytes.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
cdstool=$2
source "$(dirname "$0")/xdo_helpers.bash"

startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
addVehicleThroughWindows "Volvo" "ABC 123"
focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
good="$work/Vehicle.good"
cp "$work/Data/Vehicle.cds" "$good"

# Starts on the damaged file, checks the box and that Exit leaves the file alone.
expectDamageBox() {
  local file=$1 expected=$2 box text
  cp "$work/Data/$file" "$work/damaged"
  startAgain
  box=$(window "Error")
  text=$(boxText "$box")
  grep -qF -- "$expected" <<<"$text" || fail "$file: the box says: $text"
  grep -qF -- "Data/$file is damaged (" <<<"$text" || fail "$file: the box says: $text"
  key Return
  main=$(window "Tembra Office - Wrenfold")
  focus "$main"
  click "$main" 941 367                    # "Exit"
  waitForExit
  cmp -s "$work/damaged" "$work/Data/$file" || fail "$file was changed"
}

head -c $(($(stat -c %s "$good") - 5)) "$good" >"$work/Data/Vehicle.cds"
expectDamageBox Vehicle.cds \
  "Data/Vehicle.cds is damaged (it ends inside a record); it was left unchanged and the vehicles cannot be shown."

head -c 4096 /dev/urandom >"$work/Data/Vehicle.cds"
expectDamageBox Vehicle.cds "; it was left unchanged and the vehicles cannot be shown."

: >"$work/Data/Vehicle.cds"
expectDamageBox Vehicle.cds \
  "Data/Vehicle.cds is damaged (it is empty); it was left unchanged and the vehicles cannot be shown."

cp "$good" "$work/Data/Vehicle.cds"
: >"$work/Data/Expense.cds"
expectDamageBox Expense.cds \
  "Data/Expense.cds is damaged (it is empty); it was left unchanged and the expenses cannot be shown."
expectInTable "$cdstool" "$work/Data/Vehicle.cds" '"Volvo"'
echo "every damaged file named in its box and left unchanged"
