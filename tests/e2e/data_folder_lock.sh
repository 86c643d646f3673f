#!/usr/bin/env bash
# One Wrenfold per Data folder, also when the lock cannot be made or the folder is missing. A
# lock file that cannot be opened: one error box naming the folder and the reason, the program
# ends and nothing is read or written. No Data folder: the first copy says once that nothing is
# kept until the folder exists, a second copy is refused with one error box, and the folder is
# never made.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
source "$(dirname "$0")/xdo_helpers.bash"

# Ends after one error box; prints its status.
endsAfterOneErrorBox() {
  local box
  box=$(window "Error")
  import -window "$box" "$work/box.png" 2>/dev/null || true
  focus "$box"
  key Return
  for _ in $(seq 100); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$1" 2>/dev/null && fail "the refused program did not end after its error box"
  set +e
  wait "$1"
  local status=$?
  set -e
  [ "$status" -ne 0 ] || fail "the refused program ended with status 0"
  [ -z "$(xdotool search --onlyvisible --name '^Tembra Office - Wrenfold$' 2>/dev/null | grep -v "^${2:-none}\$" || true)" ] ||
    fail "the refused program opened a main window"
}

# The lock file cannot be opened: a link to a place that does not exist.
work=$(mktemp -d)
trap 'kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$program" "$work/wrenfold"
mkdir "$work/Data"
ln -s "$work/nowhere/.lock" "$work/Data/.lock"
"$work/wrenfold" >"$work/stdout.log" 2>&1 &
pid=$!
endsAfterOneErrorBox "$pid"
[ "$(ls -A "$work/Data")" = ".lock" ] || fail "the refused program wrote into Data: $(ls -A "$work/Data")"
rm -rf "$work"

# No Data folder: the first copy runs (after saying so), the second is refused.
startProgram "$program" none
first=$pid
info=$(window "Information")
focus "$info"
key Return
gone "Information"
main=$(window "Tembra Office - Wrenfold")
"$work/wrenfold" >"$work/second.log" 2>&1 &
second=$!
endsAfterOneErrorBox "$second" "$main"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
[ ! -e "$work/Data" ] || fail "the Data folder was made"
pid=$first
echo "an unlockable Data folder refused; two copies on a missing Data folder: the second refused"
