#!/usr/bin/env bash
# Shared set-up for run.sh, test.sh, bench.sh and fuzz.sh: installs the Debian packages that are
# missing, then configures and builds one build folder.
#   setup_packages <set...>      sets: run, test, bench (run.sh installs only the first)
#   setup_build <folder> <cmake arguments...>

# What building and running the editor needs.
RUN_PACKAGES=(
    cmake ninja-build pkg-config g++ qt6-base-dev qt6-base-dev-tools
    libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libtag1-dev libmp3lame-dev
    libsoxr-dev libasound2-dev libasound2-plugins libgsm1-dev
)
# The tests: GoogleTest, the encoders and readers that make and check fixtures, a private X
# desktop (Xvfb, openbox, xdotool, screenshots), a private session bus and a private sound server.
TEST_PACKAGES=(
    libgtest-dev libgmock-dev binutils
    sox libsox-fmt-all ffmpeg lame flac wavpack vorbis-tools opus-tools speex musepack-tools
    sndfile-programs dbus-daemon xvfb xauth x11-apps x11-utils imagemagick openbox xdotool
    desktop-file-utils pulseaudio pulseaudio-utils
)
# The benchmarks and the tools they are compared with.
BENCH_PACKAGES=(libbenchmark-dev sox libsox-fmt-all ffmpeg lame flac)
FUZZ_PACKAGES=(clang ffmpeg)

setup_packages() {
    local wanted=("${RUN_PACKAGES[@]}") set
    for set in "$@"; do
        case $set in
            run) ;;
            test) wanted+=("${TEST_PACKAGES[@]}") ;;
            bench) wanted+=("${BENCH_PACKAGES[@]}") ;;
            fuzz) wanted+=("${FUZZ_PACKAGES[@]}") ;;
            *) echo "setup_packages: unknown set $set" >&2; return 2 ;;
        esac
    done
    local missing=() p
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

setup_build() {
    local folder=$1
    shift
    cmake -S "$ROOT" -B "$ROOT/$folder" -G Ninja "$@" >/dev/null
    cmake --build "$ROOT/$folder" -j "$(nproc)"
}
