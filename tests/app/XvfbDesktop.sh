# A private desktop for the program's own end-to-end tests, sourced by each test script:
#
#   source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"    # re-runs the test under xvfb-run
#   desktop_begin                      # private home and settings, openbox managing the screen
#   program_start one.wav              # the editor, its pid in $program_pid
#   window=$(window_wait "one.wav - Sondrix Audio Editor")
#   xdotool key --window "$window" ctrl+a
#   program_end_by TERM                # the signal, then the exit code checked against 0
#
# The test is called as `<script> <program> <artefact folder> [arguments...]`; after sourcing,
# $program, $artefacts, $scratch (removed at exit), $files (a folder for fixtures, the current
# folder), $tempdir (the program's temporary folder) and $settings (its settings file) are set,
# and the remaining arguments are "$@". Exits 77 (skipped) when xvfb-run, openbox or xdotool is
# missing. On failure, `fail` keeps a screenshot of the whole screen in the artefact folder.

set -euo pipefail
for tool in xvfb-run openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
if [ "${1:-}" != --inside ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside "$@"
fi
shift
program=$(realpath "$1")
artefacts=$(realpath -m "$2")
shift 2
test_name=$(basename "$0" .sh)

scratch=$(mktemp -d)
files=$scratch/files
tempdir=$scratch/temp
settings=$scratch/config/Quorvantex/"Sondrix Audio Editor.conf"
program_pid=
wm_pid=

desktop_cleanup() {
    [ -n "$program_pid" ] && kill -9 "$program_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap desktop_cleanup EXIT

# Screenshot of the whole screen as <artefacts>/<test>-<name>.png (needs convert; else the xwd).
shot() {
    mkdir -p "$artefacts"
    local out=$artefacts/$test_name-$1
    if command -v convert >/dev/null; then
        xwd -root -silent | convert xwd:- "$out.png"
    else
        xwd -root -silent >"$out.xwd"
    fi
}

fail() {
    echo "FAIL: $*"
    xwininfo -root -tree | grep -i -e sondrix -e '"' | head -20 || true
    shot failure || true
    exit 1
}

# Private home, settings with the temporary folder inside the scratch folder, and openbox.
desktop_begin() {
    export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run
    export QT_QPA_PLATFORM=xcb SONDRIX_AUDIO=${SONDRIX_AUDIO:-null}
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$(realpath "$0")")/../lsan.supp}
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$tempdir" "$files" "$(dirname "$settings")"
    chmod 700 "$XDG_RUNTIME_DIR"
    printf '[Settings]\ntempfolder=%s/\n' "$tempdir" >"$settings"
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    local _
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"
    cd "$files"
}

# Starts the editor with the given arguments; its pid is in $program_pid. SIGINT is handled as
# from a terminal: a script's background job would inherit it ignored.
program_start() {
    env --default-signal=INT "$program" "$@" &
    program_pid=$!
}

# Waits (up to $2 seconds, default 60: a sanitised build starts slowly) for a visible window whose
# whole title is $1 and prints its id.
window_wait() {
    local title=$1 limit=${2:-60} id _
    for _ in $(seq $((limit * 10))); do
        id=$(xdotool search --onlyvisible --name "^$(printf '%s' "$title" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$" 2>/dev/null | head -1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for \"$title\""
        sleep 0.1
    done
    fail "no window titled \"$title\" within $limit s"
}

# Waits up to $2 seconds (default 30) until the shell condition $1 holds.
wait_until() {
    local condition=$1 limit=${2:-30} _
    for _ in $(seq $((limit * 10))); do
        eval "$condition" && return 0
        sleep 0.1
    done
    return 1
}

# The number of the program's temporary sample files in its temporary folder.
temp_files() {
    find "$tempdir" -name '~we*' | wc -l
}

# True once the program has exited (it may still wait to be reaped).
program_ended() {
    [ ! -e "/proc/$program_pid" ] || grep -q '^[0-9]* (.*) Z' "/proc/$program_pid/stat"
}

# Sends signal $1 to the program and checks that it ends with code 0 within $2 seconds (default 20).
program_end_by() {
    local signal=$1 limit=${2:-20}
    kill -"$signal" "$program_pid"
    wait_until "program_ended" "$limit" ||
        fail "the program still runs $limit s after SIG$signal"
    local code=0
    wait "$program_pid" || code=$?
    program_pid=
    [ "$code" -eq 0 ] || fail "exit code $code after SIG$signal"
}

# A value of the stored settings.
setting() {
    grep -E "^$1=" "$settings" | head -1 | cut -d= -f2-
}
