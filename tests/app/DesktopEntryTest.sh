#!/usr/bin/env bash
# Installs the desktop entry into a scratch home for a program whose path holds a blank and a
# quote, and checks it: desktop-file-validate accepts it without a remark, it starts that program
# with the chosen files and names the installed 256 px icon. Exits 77 (skipped) without the
# validator.
#   DesktopEntryTest.sh <source folder>
set -euo pipefail
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate is missing"; exit 77; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
"$1/scripts/install-desktop-entry.sh" "$home/my \"build\"/sondrix" "$home"

entry=$home/.local/share/applications/sondrix.desktop
icon=$home/.local/share/icons/hicolor/256x256/apps/sondrix.png
remarks=$(desktop-file-validate "$entry" 2>&1) || { echo "$remarks"; exit 1; }
[ -z "$remarks" ] || { echo "$remarks"; exit 1; }
grep -qxF "Exec=\"$home/my \\\\\"build\\\\\"/sondrix\" %F" "$entry" || { grep Exec "$entry"; exit 1; }
grep -qxF "Icon=$icon" "$entry" || { grep Icon "$entry"; exit 1; }
# A PNG file whose header gives 256 x 256 (width and height are bytes 16..23, big-endian).
[ "$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')" = 0000010000000100 ] || { echo "icon is not 256 px"; exit 1; }
