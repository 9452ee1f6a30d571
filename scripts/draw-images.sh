#!/usr/bin/env bash
# Redraws the editor's images into app/resources/images from app/resources/generator.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$ROOT/app/resources/generator" -B "$ROOT/build/draw-images" -G Ninja >/dev/null
cmake --build "$ROOT/build/draw-images"
XDG_RUNTIME_DIR=$(mktemp -d) QT_QPA_PLATFORM=offscreen "$ROOT/build/draw-images/draw_images" "$ROOT/app/resources/images"
