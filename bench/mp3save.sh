#!/usr/bin/env bash
# An MP3 save of one hour of stereo audio through the save operation beside the lame command line
# with the same settings on the same samples, in the same run; prints the ratio of the two times.
set -euo pipefail
"$BUILD/bench/Mp3SaveBench"
