#!/usr/bin/env bash
# Installs what is missing, builds into build/release and starts the editor with the given files.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/setup.sh"

setup_packages
setup_build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONDRIX_TESTS=OFF
editor="$ROOT/build/release/app/sondrix"
if [ ! -x "$editor" ]; then
    echo "The editor program is not part of this build yet; the libraries and tests are." >&2
    exit 1
fi
exec "$editor" "$@"
