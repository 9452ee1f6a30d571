#!/usr/bin/env bash
# Runs the shared set-up's package step on a machine where nothing is installed (dpkg-query and
# apt-get replaced by stand-ins that record the request) and checks what each command asks for:
# the editor's own set installs what building and running need and none of the test or benchmark
# tools; the test set adds those.
#   SetupPackagesTest.sh <source folder>
set -euo pipefail
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$stubs/dpkg-query"
printf '#!/bin/sh\necho "$@" >>"%s/requests"\n' "$stubs" >"$stubs/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$stubs/sudo"
chmod +x "$stubs"/*

requested() {
    rm -f "$stubs/requests"
    PATH=$stubs:$PATH ROOT=$1 bash -c 'source "$ROOT/scripts/setup.sh"; setup_packages "$@"' _ "${@:2}" >/dev/null
    grep -- '^install' "$stubs/requests" | tr ' ' '\n'
}

run=$(requested "$1" run)
for needed in qt6-base-dev libavcodec-dev libtag1-dev libmp3lame-dev libsoxr-dev libasound2-dev libgsm1-dev cmake g++; do
    grep -qx "$needed" <<<"$run" || { echo "FAIL: run set lacks $needed"; exit 1; }
done
for tool in pulseaudio xvfb imagemagick sox ffmpeg libgtest-dev libbenchmark-dev openbox xdotool dbus-daemon; do
    grep -qx "$tool" <<<"$run" && { echo "FAIL: run set installs the test tool $tool"; exit 1; }
done
tests=$(requested "$1" test)
for tool in qt6-base-dev libgtest-dev sox xvfb openbox xdotool dbus-daemon pulseaudio; do
    grep -qx "$tool" <<<"$tests" || { echo "FAIL: test set lacks $tool"; exit 1; }
done
bench=$(requested "$1" bench)
grep -qx libbenchmark-dev <<<"$bench" || { echo "FAIL: bench set lacks libbenchmark-dev"; exit 1; }
grep -qx xvfb <<<"$bench" && { echo "FAIL: bench set installs xvfb"; exit 1; }
echo PASS
