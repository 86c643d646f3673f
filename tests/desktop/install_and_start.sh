#!/usr/bin/env bash
# Installs the built program into a temporary prefix and data folder as `cmake --install` does
# for a user, checks what was installed, starts the installed program and waits for its main
# window. Argument: the build folder. Runs under xvfb-run.
set -euo pipefail

build=$1
work=$(mktemp -d)
pid=
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT

# A folder name with a space, as a home folder may have.
prefix="$work/My Programs/wrenfold"
share="$work/share"
fail() { echo "$*" >&2; exit 1; }

XDG_DATA_HOME="$share" cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }

[ -x "$prefix/wrenfold" ] || fail "the program is not at $prefix/wrenfold"
[ -x "$prefix/cdstool" ] || fail "cdstool is not at $prefix/cdstool"
[ -d "$prefix/Data" ] || fail "no Data folder beside the program"
[ -z "$(ls -A "$prefix/Data")" ] || fail "the Data folder is not empty"
entry="$share/applications/wrenfold.desktop"
[ -f "$entry" ] || fail "no menu entry at $entry"
grep -qxF "Exec=\"$prefix/wrenfold\"" "$entry" || fail "the menu entry does not start $prefix/wrenfold: $(grep Exec "$entry")"
grep -qxF "TryExec=$prefix/wrenfold" "$entry" || fail "the menu entry's TryExec is not $prefix/wrenfold"
desktop-file-validate "$entry"
[ -f "$share/icons/hicolor/scalable/apps/wrenfold.svg" ] || fail "no icon"
[ -f "$share/metainfo/test.tembra.Wrenfold.metainfo.xml" ] || fail "no software-centre description"

# A table written into the installed Data folder survives a second install.
echo keep >"$prefix/Data/Vehicle.cds"
XDG_DATA_HOME="$share" cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(cat "$prefix/Data/Vehicle.cds")" = keep ] || fail "a second install touched the Data folder"
rm "$prefix/Data/Vehicle.cds"

# Started as the menu starts it: from elsewhere, by its full path.
cd "$work"
"$prefix/wrenfold" &
pid=$!
for _ in $(seq 200); do
  if xdotool search --onlyvisible --name '^Tembra Office - Wrenfold$' >/dev/null 2>&1; then
    echo "the installed program shows its main window"
    exit 0
  fi
  kill -0 "$pid" 2>/dev/null || fail "the installed program ended before showing its main window"
  sleep 0.1
done
fail "the installed program's main window did not appear"
