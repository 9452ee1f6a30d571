#!/usr/bin/env bash
# Installs what is missing, builds into build/release, installs the desktop entry for the invoking
# user and starts the editor with the given files.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/setup.sh"

# The desktop entry and icon go to the home of the user who runs this script, also through sudo
# (then written as that user); a user without a writable home gets none.
install_desktop_entry() {
    local as_user=() home=${HOME:-}
    if [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ] && [ "$(id -u)" -eq 0 ]; then
        as_user=(runuser -u "$SUDO_USER" --)
        home=$(getent passwd "$SUDO_USER" | cut -d: -f6) || home=
    fi
    if [ -z "$home" ] || ! "${as_user[@]}" test -d "$home" -a -w "$home"; then
        return 0
    fi
    "${as_user[@]}" "$ROOT/scripts/install-desktop-entry.sh" "$1" "$home" ||
        echo "run.sh: the desktop entry could not be installed in $home" >&2
}

setup_packages run
setup_build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONDRIX_TESTS=OFF
editor="$ROOT/build/release/app/sondrix"
if [ ! -x "$editor" ]; then
    echo "run.sh: the build made no editor program at $editor" >&2
    exit 1
fi
install_desktop_entry "$editor"
exec "$editor" "$@"
