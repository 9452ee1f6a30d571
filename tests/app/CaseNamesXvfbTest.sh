#!/usr/bin/env bash
# Starts the editor with song.wav and Song.wav, two different files whose names differ only in
# case. Checks that both are loaded (the second one's name, in its own case, is in the main window's
# title and each has its temporary file) and that both are stored as recent files, in argument
# order.
#   CaseNamesXvfbTest.sh <program> <artefact folder>
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"
desktop_begin

sox -n -r 8000 -c 1 -b 16 song.wav synth 2 sine 440
sox -n -r 8000 -c 2 -b 16 Song.wav synth 3 sine 660

program_start song.wav Song.wav
window=$(window_wait "Song.wav - Sondrix Audio Editor" 30)
# Both loaded: a temporary file each, and the second load's progress window gone.
wait_until '[ "$(temp_files)" -ge 2 ] &&
    ! xdotool search --onlyvisible --name "^Progress\.\.\.\$" >/dev/null 2>&1' 30 ||
    fail "the two documents were not loaded: $(temp_files) temporary files"
# The search above ignores case; the title itself does not.
title=$(xdotool getwindowname "$window")
[ "$title" = "Song.wav - Sondrix Audio Editor" ] || fail "title: $title"
program_end_by TERM

[ "$(setting mrucount)" = 2 ] || fail "recent files: $(setting mrucount)"
[ "$(setting mruitem0)" = "$files/song.wav" ] || fail "first recent file: $(setting mruitem0)"
[ "$(setting mruitem1)" = "$files/Song.wav" ] || fail "second recent file: $(setting mruitem1)"
echo "PASS"
