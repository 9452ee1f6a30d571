#!/usr/bin/env bash
# Three editors share one temporary folder. Instance A is killed with SIGKILL, which leaves its
# temporary file; instance B deletes it when it starts, while the file of the running instance C
# stays (all files are made an hour old first, so only C's hold on its file spares it). Then
# closing C's document window deletes C's file while C runs on. B and C end cleanly.
#   TempFilesXvfbTest.sh <program> <artefact folder>
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"
desktop_begin
instances=
trap 'kill -9 $instances 2>/dev/null || true; desktop_cleanup' EXIT

sox -n -r 44100 -c 2 -b 16 a.wav synth 2 sine 440
sox -n -r 44100 -c 2 -b 16 b.wav synth 2 sine 550
sox -n -r 44100 -c 2 -b 16 c.wav synth 2 sine 660

# Starts an instance with file $1 and waits for its document; its temporary file names go to
# $new_files, its pid to $program_pid.
instance_start() {
    local before
    before=$(ls "$tempdir")
    program_start "$1"
    instances="$instances $program_pid"
    window_wait "$1 - Sondrix Audio Editor" >/dev/null
    wait_until '[ -n "$(comm -13 <(printf "%s\n" "$before") <(ls "$tempdir"))" ]' 60 ||
        fail "$1 was not loaded"
    new_files=$(comm -13 <(printf '%s\n' "$before") <(ls "$tempdir"))
}

all_exist() {
    local name
    for name in $1; do [ -e "$tempdir/$name" ] || return 1; done
}

none_exist() {
    local name
    for name in $1; do [ ! -e "$tempdir/$name" ] || return 1; done
}

instance_start a.wav
a_files=$new_files
a_pid=$program_pid
instance_start c.wav
c_files=$new_files
c_pid=$program_pid

kill -9 "$a_pid"
wait "$a_pid" 2>/dev/null || true
all_exist "$a_files" || fail "A's files went with A"
touch -d '1 hour ago' "$tempdir"/~we*

instance_start b.wav
b_pid=$program_pid
wait_until 'none_exist "$a_files"' 30 || fail "B left A's files: $(ls "$tempdir")"
all_exist "$c_files" || fail "B deleted the files of the running C: $(ls "$tempdir")"
all_exist "$new_files" || fail "B's own file is missing"

program_pid=$c_pid
window=$(window_wait "c.wav - Sondrix Audio Editor")
xdotool windowactivate --sync "$window"
xdotool key alt+f
sleep 1
xdotool key c
wait_until 'none_exist "$c_files"' 30 || fail "closing C's document left $c_files"
kill -0 "$c_pid" || fail "C ended"
all_exist "$new_files" || fail "closing C's document deleted B's file"

program_end_by TERM
program_pid=$b_pid
program_end_by TERM
[ "$(temp_files)" -eq 0 ] || fail "temporary files left: $(ls "$tempdir")"
echo "PASS"
