#!/usr/bin/env bash
# Shared set-up for run.sh, test.sh and bench.sh: installs the Debian packages that are missing,
# then configures and builds one build folder.
#   setup_packages
#   setup_build <folder> <cmake arguments...>

PACKAGES=(
    cmake ninja-build pkg-config g++ qt6-base-dev qt6-base-dev-tools
    libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libtag1-dev libmp3lame-dev
    libsoxr-dev libasound2-dev libgsm1-dev libgtest-dev libgmock-dev libbenchmark-dev
    sox libsox-fmt-all ffmpeg lame flac wavpack vorbis-tools opus-tools speex musepack-tools
    sndfile-programs dbus-daemon xvfb xauth x11-apps x11-utils imagemagick binutils
    desktop-file-utils pulseaudio pulseaudio-utils libasound2-plugins
)

setup_packages() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}"; do
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
