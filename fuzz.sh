#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and UndefinedBehaviorSanitizer
# on everything) into build/fuzz and runs each one for FUZZ_SECONDS seconds (default 60) from seed
# corpora made here. Exits non-zero when a target finds a fault; its input is kept in
# build/fuzz/findings/<target>/. Not part of the tests: run it by hand or on a schedule.
#   ./fuzz.sh [target...]     targets: decode codecs wavwriter version (default: all)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/setup.sh"
setup_packages fuzz

BUILD=$ROOT/build/fuzz
SECONDS_EACH=${FUZZ_SECONDS:-60}
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(decode codecs wavwriter version)

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSONDRIX_FUZZ=ON -DSONDRIX_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j "${JOBS:-4}" --target "${TARGETS[@]/#/fuzz_}"

# Seeds: a tenth of a second in every imported container, and a few hand-made inputs.
seed_decode() {
    local ff=(ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "sine=f=440:d=0.1")
    "${ff[@]}" "$1/tone.wav"
    "${ff[@]}" -c:a pcm_s16le -f w64 "$1/tone.w64"
    "${ff[@]}" "$1/tone.aiff"
    "${ff[@]}" "$1/tone.flac"
    "${ff[@]}" -c:a libmp3lame "$1/tone.mp3"
    "${ff[@]}" -c:a libvorbis "$1/tone.ogg"
    "${ff[@]}" -c:a libopus "$1/tone.opus"
    "${ff[@]}" -c:a wavpack "$1/tone.wv"
    "${ff[@]}" -c:a tta "$1/tone.tta"
    "${ff[@]}" -c:a ac3 "$1/tone.ac3"
    "${ff[@]}" -c:a alac "$1/tone.m4a"
    "${ff[@]}" -c:a wmav2 "$1/tone.wma"
    "${ff[@]}" -c:a adpcm_ima_wav "$1/ima.wav"
    "${ff[@]}" -ar 8000 -c:a libgsm_ms "$1/gsm.wav"
}

seed_pcm() {
    local i
    for i in 0 1 2 3 4 5 6 7; do
        { printf "\\$(printf %o $((i * 3)))\\$(printf %o $i)\\$(printf %o $((i * 5)))\\020"
          head -c $((512 * (i + 1))) /dev/urandom; } >"$1/pcm$i"
    done
}

seed_version() {
    printf '4.1.0.1\n4.1.0.0' >"$1/newer"
    printf '1.0.100.0\n1.1.0.0' >"$1/overlap"
    printf '9.0.0.0.<a href="x">y</a>\n4.1.0.0' >"$1/link"
    printf ' 4.1.0.1\r\n\n4.1' >"$1/blanks"
}

failed=0
for target in "${TARGETS[@]}"; do
    corpus=$BUILD/corpus/$target
    findings=$BUILD/findings/$target
    rm -rf "$corpus" "$findings"
    mkdir -p "$corpus" "$findings"
    case $target in
        decode) seed_decode "$corpus" ;;
        codecs | wavwriter) seed_pcm "$corpus" ;;
        version) seed_version "$corpus" ;;
    esac
    echo "== fuzz_$target for ${SECONDS_EACH} s"
    if ! (cd "$findings" && "$BUILD/fuzz/fuzz_$target" -max_total_time="$SECONDS_EACH" \
            -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 "$corpus" >"$findings/log" 2>&1); then
        echo "fuzz_$target found a fault: see $findings/log"
        failed=1
    fi
done
exit $failed
