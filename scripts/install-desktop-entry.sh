#!/usr/bin/env bash
# Installs the editor's desktop entry and icon for one user:
#   install-desktop-entry.sh <editor program> <home folder>
# writes <home>/.local/share/applications/sondrix.desktop, which starts the given program with
# the chosen files, and the program icon at 48, 128 and 256 px under
# <home>/.local/share/icons/hicolor.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
editor=$1
share=$2/.local/share

# The Exec value: the program in double quotes, with the characters that are special there
# escaped, then every backslash doubled and every "%" doubled as the entry's strings require.
exec_value() {
    local path=$1
    path=${path//\\/\\\\}
    path=${path//\"/\\\"}
    path=${path//\`/\\\`}
    path=${path//\$/\\\$}
    path=${path//\\/\\\\}
    path=${path//%/%%}
    printf '"%s"' "$path"
}

for size in 48 128 256; do
    install -D -m 644 "$ROOT/app/resources/images/sondrix-$size.png" \
        "$share/icons/hicolor/${size}x${size}/apps/sondrix.png"
done
icon=$share/icons/hicolor/256x256/apps/sondrix.png

mkdir -p "$share/applications"
entry=$share/applications/sondrix.desktop
template=$(<"$ROOT/app/sondrix.desktop.in")
template=${template//@EXEC@/"$(exec_value "$editor")"}
template=${template//@ICON@/"${icon//\\/\\\\}"}
printf '%s\n' "$template" >"$entry.new"
mv "$entry.new" "$entry"
if command -v update-desktop-database >/dev/null; then
    update-desktop-database -q "$share/applications" || true
fi
