#!/usr/bin/env bash
# Runs the built editor on a private X server, started with two WAV files and one missing name, in
# a private home whose settings put the temporary files into a private folder. Checks that the main
# window shows the last document, that both documents were loaded (their temporary files exist),
# keeps a screenshot of the main window, then ends the program with SIGTERM and checks: exit code
# 0, the two files stored as recent files in argument order with the window's placement, and no
# temporary file left. Exits 77 (skipped) without xvfb-run.
#   ProgramXvfbTest.sh <program> <artefact folder>
set -euo pipefail
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing"; exit 77; }

if [ "${1:-}" != --inside ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside "$@"
fi
program=$(realpath "$2")
artefacts=$(realpath -m "$3")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run
export QT_QPA_PLATFORM=xcb SONDRIX_AUDIO=null
# The sanitised build checks for leaks at exit, past the system libraries' known ones.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$(realpath "$0")")/../lsan.supp}
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$scratch/temp" "$scratch/files" "$XDG_CONFIG_HOME/Quorvantex"
chmod 700 "$XDG_RUNTIME_DIR"
settings="$XDG_CONFIG_HOME/Quorvantex/Sondrix Audio Editor.conf"
printf '[Settings]\ntempfolder=%s/temp/\n' "$scratch" >"$settings"

cd "$scratch/files"
sox -n -r 44100 -c 2 -b 16 one.wav synth 3 sine 440
sox -n -r 22050 -c 1 -b 16 two.wav synth 2 sine 660

fail() {
    echo "FAIL: $*"
    xwininfo -root -tree | grep -i sondrix || true
    exit 1
}

main_window() {
    xwininfo -root -tree | awk '/"two.wav - Sondrix Audio Editor"/ {print $1; exit}'
}

temp_files() {
    find "$scratch/temp" -name '~we*' | wc -l
}

"$program" one.wav two.wav missing.wav &
pid=$!

# A sanitised build takes its time to start and load.
window=
for _ in $(seq 120); do
    window=$(main_window)
    [ -n "$window" ] && [ "$(temp_files)" -ge 2 ] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended early"
    sleep 0.5
done
[ -n "$window" ] || fail "no main window titled after the last document"
[ "$(temp_files)" -ge 2 ] || fail "the two documents were not loaded: $(temp_files) temporary files"
# Let the last load's progress window go before the picture.
sleep 2

mkdir -p "$artefacts"
xwd -id "$window" -silent | convert xwd:- "$artefacts/main-window.png"
echo "screenshot of the main window with two documents: $artefacts/main-window.png"

kill -TERM "$pid"
code=0
wait "$pid" || code=$?
[ "$code" -eq 0 ] || fail "exit code $code after SIGTERM"

value() {
    grep -E "^$1=" "$settings" | head -1 | cut -d= -f2-
}
[ "$(value mrucount)" = 2 ] || fail "recent files: $(value mrucount)"
[ "$(value mruitem0)" = "$scratch/files/one.wav" ] || fail "first recent file: $(value mruitem0)"
[ "$(value mruitem1)" = "$scratch/files/two.wav" ] || fail "second recent file: $(value mruitem1)"
[ "$(value width)" -gt 0 ] && [ "$(value height)" -gt 0 ] || fail "placement not stored"
[ "$(temp_files)" -eq 0 ] || fail "temporary files left: $(ls "$scratch/temp")"
echo "PASS"
