#!/usr/bin/env bash
# Ends the editor by a signal and checks that it ends at once with exit code 0, without asking,
# and leaves no temporary file.
#   SignalsXvfbTest.sh <program> <artefact folder> <case> <signals>
# modified: the document is modified (the save question was asked and cancelled), no dialog open.
# question: the save question is open when the signal arrives.
# saveas:   the document is modified and the Save As dialog is open.
# loading:  a five-minute file is still loading: the load is awaited for a few seconds at most.
# ignored:  the signals, ignored when the program started, leave it running; SIGTERM ends it.
# Sourced without arguments, so that its shifts leave the case and the signals in "$@".
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh"
case=$1 signals=$2
desktop_begin
no_temp_files_left() {
    [ "$(temp_files)" -eq 0 ] || fail "temporary files left: $(ls "$tempdir")"
    echo PASS
}
sox -n -r 44100 -c 2 -b 16 a.wav synth "$([ "$case" = loading ] && echo 300 || echo 3)" sine 440

if [ "$case" = ignored ]; then
    env --ignore-signal="$signals" "$program" a.wav &
    program_pid=$!
else
    program_start a.wav
fi
window=$(window_wait "a.wav - Sondrix Audio Editor")
wait_until '[ "$(temp_files)" -ge 1 ]' 60 || fail "a.wav was not loaded"
if [ "$case" = loading ]; then
    program_end_by "$signals" 10
    no_temp_files_left
    exit 0
fi
if [ "$case" = ignored ]; then
    for signal in ${signals//,/ }; do kill -"$signal" "$program_pid"; done
    sleep 1
    program_ended && fail "an ignored signal ended the program"
    program_end_by TERM 5
    no_temp_files_left
    exit 0
fi

# Delete everything, then close the document window: the question shows that the edit took.
sleep 1
xdotool windowactivate --sync "$window"
xdotool key ctrl+a Delete
sleep 1
xdotool key alt+f c
question=$(window_wait Confirmation 20)
if [ "$case" != question ]; then
    xdotool windowactivate --sync "$question" key Escape
    wait_until '! xwininfo -id "$question" 2>/dev/null | grep -q IsViewable' 10 ||
        fail "the save question stayed open"
fi
if [ "$case" = saveas ]; then
    xdotool windowactivate --sync "$window" key alt+f a
    window_wait "Save As" 20 >/dev/null
fi
program_end_by "$signals" 2
[ "$(setting mruitem0)" = "$files/a.wav" ] || fail "recent file not stored: $(setting mruitem0)"
no_temp_files_left
