#!/usr/bin/env bash
# Piece-table reading against a plain pread loop over the same 1 GiB file.
set -euo pipefail
"$BUILD/bench/LargeFileBench"
