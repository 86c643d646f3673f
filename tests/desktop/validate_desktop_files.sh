#!/usr/bin/env bash
# Checks the desktop files as the desktop's own tools read them: the menu entry (with its
# program path filled in as an install does), the software-centre description, whose
# screenshots must be the README's, and the icon, which must draw.
# Argument: the source folder.
set -euo pipefail

source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The entry as an install fills it in, for a plain prefix and for one with a space in it.
for path in /home/user/.local/opt/wrenfold/wrenfold "/home/user/My Programs/wrenfold/wrenfold"; do
  exec_line=$path
  case $path in *" "*) exec_line="\"$path\"" ;; esac
  sed -e "s|@WRENFOLD_EXEC@|$exec_line|" -e "s|@WRENFOLD_PATH@|$path|" \
    "$source_dir/desktop/wrenfold.desktop.in" >"$work/wrenfold.desktop"
  desktop-file-validate "$work/wrenfold.desktop"
done
grep -qx 'Icon=wrenfold' "$work/wrenfold.desktop"

metainfo="$source_dir/desktop/test.tembra.Wrenfold.metainfo.xml"
appstreamcli validate --no-net "$metainfo"
grep -q '<launchable type="desktop-id">wrenfold.desktop</launchable>' "$metainfo"

shots=$(grep -o 'docs/screenshots/[^<]*\.png' "$metainfo" | sort -u)
[ -n "$shots" ] || { echo "the description names no screenshot" >&2; exit 1; }
for shot in $shots; do
  [ -f "$source_dir/$shot" ] || { echo "screenshot $shot is not in the source folder" >&2; exit 1; }
  grep -q "($shot)" "$source_dir/README.md" || { echo "screenshot $shot is not the README's" >&2; exit 1; }
done

rsvg-convert -w 64 -h 64 "$source_dir/desktop/wrenfold.svg" -o "$work/icon.png"
[ -s "$work/icon.png" ]
echo "menu entry, description and icon are valid"
