#!/usr/bin/env bash
# Runs the built editor on a private desktop, started with two WAV files and one missing name.
# Checks that the main window shows the last document and that both documents were loaded (their
# temporary files exist), keeps a screenshot, then ends the program with SIGTERM and checks: exit
# code 0, the two files stored as recent files in argument order with the window's placement, and
# no temporary file left.
#   ProgramXvfbTest.sh <program> <artefact folder>
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"
desktop_begin

sox -n -r 44100 -c 2 -b 16 one.wav synth 3 sine 440
sox -n -r 22050 -c 1 -b 16 two.wav synth 2 sine 660

program_start one.wav two.wav missing.wav
window_wait "two.wav - Sondrix Audio Editor" >/dev/null
wait_until '[ "$(temp_files)" -ge 2 ]' 60 ||
    fail "the two documents were not loaded: $(temp_files) temporary files"
# Let the last load's progress window go before the picture.
sleep 2
shot main-window
echo "screenshot of the main window with two documents: $artefacts/$test_name-main-window.png"

program_end_by TERM

[ "$(setting mrucount)" = 2 ] || fail "recent files: $(setting mrucount)"
[ "$(setting mruitem0)" = "$files/one.wav" ] || fail "first recent file: $(setting mruitem0)"
[ "$(setting mruitem1)" = "$files/two.wav" ] || fail "second recent file: $(setting mruitem1)"
[ "$(setting width)" -gt 0 ] && [ "$(setting height)" -gt 0 ] || fail "placement not stored"
[ "$(temp_files)" -eq 0 ] || fail "temporary files left: $(ls "$tempdir")"
echo "PASS"
