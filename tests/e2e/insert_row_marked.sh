#!/usr/bin/env bash
# While a new vehicle is being entered, the grids show it as their current row: with Volvo
# current, New in the vehicle window gives an empty row marked as the insert row where Volvo was,
# in the vehicle window's grid and in the main window's grid, and Volvo one row lower, unmarked.
# Cancel puts the rows back with Volvo current.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
cdstool=$2
source "$(dirname "$0")/xdo_helpers.bash"

startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
for make in Audi Ford Volvo; do addVehicleThroughWindows "$make"; done

openNewVehicleDialog
replaceText "$dialog" 272 81 "Bmw"

# Out of the way of the grids: the dialog to the top of the screen, the vehicle window below
# the main window's grid.
xdotool windowmove "$dialog" 0 0
xdotool windowmove "$vehicles" 300 720
sleep 1
shot="$work/insert.png"
grab "$shot"

# Dark (text) pixels in a box of a window's client area on the grabbed screen.
darkPixels() {
  local win=$1 x=$2 y=$3 w=$4 h=$5 ox oy
  read -r ox oy < <(clientOrigin "$win")
  convert "$shot" -crop "${w}x${h}+$((ox + x))+$((oy + y))" +repage -colorspace gray \
    -threshold 30% -format '%[fx:int(w*h*(1-mean))]' info:
}

# Row r (from 0) of a grid whose first row's middle is at y: its indicator and its make cell.
expectRow() {
  local win=$1 grid=$2 left=$3 middle=$4 make=$5 r=$6 marked=$7 text=$8 y indicator cell
  y=$((middle + 18 * r - 5))
  indicator=$(darkPixels "$win" $((left + 2)) "$y" 7 11)
  cell=$(darkPixels "$win" $((make + 3)) "$y" 60 11)
  if [ "$marked" = yes ]; then
    [ "$indicator" -gt 0 ] || fail "$grid: row $((r + 1)) carries no marker"
  else
    [ "$indicator" -eq 0 ] || fail "$grid: row $((r + 1)) carries a marker"
  fi
  if [ "$text" = yes ]; then
    [ "$cell" -gt 0 ] || fail "$grid: row $((r + 1)) shows no make"
  else
    [ "$cell" -eq 0 ] || fail "$grid: row $((r + 1)) shows a make ($cell dark pixels)"
  fi
}

# The vehicle window's grid at 0,45 and the main window's at 237,81: an indicator column of 11
# pixels, "Vehicle Number" 106 pixels wide, then the make; a title row, then rows of 18 pixels.
for grid in "vehicle window" "main window"; do
  case $grid in
    "vehicle window") win=$vehicles left=0 middle=72 ;;
    "main window") win=$main left=237 middle=108 ;;
  esac
  make=$((left + 11 + 106))
  expectRow "$win" "$grid" "$left" "$middle" "$make" 0 no yes   # Audi
  expectRow "$win" "$grid" "$left" "$middle" "$make" 1 no yes   # Ford
  expectRow "$win" "$grid" "$left" "$middle" "$make" 2 yes no   # the new vehicle
  expectRow "$win" "$grid" "$left" "$middle" "$make" 3 no yes   # Volvo, moved down
done

# Cancel: three rows again, Volvo marked as the current one.
focus "$dialog"
click "$dialog" 652 233                    # "Cancel"
gone "Add New Vehicle"
sleep 0.5
grab "$shot"
expectRow "$main" "main window" 237 108 354 2 yes yes
expectRow "$main" "main window" 237 108 354 3 no no
xdotool windowmove "$vehicles" 250 200
sleep 0.5
focus "$vehicles"
click "$vehicles" 696 503                  # "Close"
gone "Vehicle Detail"
focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
echo "the new vehicle is the marked row while it is entered"
