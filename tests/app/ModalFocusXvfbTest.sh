#!/usr/bin/env bash
# The first click and the first key after a modal window hides act in the main window: after the
# Open dialog (a name typed, then Enter) and after Operations > Invert chosen from the menu (its
# progress window shows and hides), a click on the File menu's title opens that menu at once, and
# Ctrl+O right after opens the Open dialog. Several rounds, as the window manager's timing varies.
#   ModalFocusXvfbTest.sh <program> <artefact folder>
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"
desktop_begin

sox -n -r 44100 -c 2 -b 16 one.wav synth 2 sine 440
sox -n -r 44100 -c 1 -b 16 two.wav synth 1 sine 660
program_start one.wav two.wav
main=$(window_wait "two.wav - Sondrix Audio Editor")
wait_until '[ "$(temp_files)" -ge 2 ]' 60 || fail "the files were not loaded"

shown() { xdotool search --onlyvisible --class sondrix 2>/dev/null | sort; }
dialog_shown() { [ -n "$(xdotool search --onlyvisible --name '^Open$' 2>/dev/null)" ]; }
progress_shown() { [ -n "$(xdotool search --onlyvisible --name '^Progress\.\.\.$' 2>/dev/null)" ]; }
wait_until '! progress_shown && sleep 1 && ! progress_shown' 60 || fail "the loads did not end"

# The window manager's record of the progress window: one line each time it shows and hides.
progress=$(xdotool search --name '^Progress\.\.\.$' | head -1)
xprop -spy -id "$progress" WM_STATE >"$scratch/progress.log" &
spy_pid=$!
trap 'kill "$spy_pid" 2>/dev/null; desktop_cleanup' EXIT
wait_until '[ -s "$scratch/progress.log" ]' 10 || fail "no record of the progress window"
times_shown() { grep -c "state: Normal" "$scratch/progress.log" || true; }
times_hidden() { grep -c "not found" "$scratch/progress.log" || true; }

# Invert has ended once the window manager saw its progress window go, or, where the window went
# before the window manager took it on, once none has shown for a second.
invert_ended() {
    [ "$(times_hidden)" -gt "$hides" ] && return 0
    [ "$(times_shown)" -eq "$shows" ] && ! progress_shown && sleep 1 && ! progress_shown &&
        [ "$(times_shown)" -eq "$shows" ]
}

# Clicks the title of File and waits for a window that was not there before: its menu.
file_title() {
    local before
    before=$(shown)
    xdotool mousemove --window "$main" 19 8 click 1
    wait_until '[ -n "$(comm -13 <(echo "$before") <(shown))" ]' 5 ||
        fail "round $round, $1: the first click on File opened no menu"
}
close_all() {
    xdotool key Escape
    wait_until '[ "$(shown | wc -l)" -eq 1 ]' 10 || fail "a menu or dialog stays open"
}

for round in 1 2 3 4 5; do
    xdotool key ctrl+o
    wait_until dialog_shown 10 || fail "round $round: Ctrl+O opened no dialog"
    xdotool type two.wav
    xdotool key Return
    wait_until '! dialog_shown' 10 || fail "round $round: the Open dialog stays"
    file_title "after Open"
    close_all

    shows=$(times_shown) hides=$(times_hidden)
    xdotool mousemove --window "$main" 216 8 click 1
    wait_until '[ "$(shown | wc -l)" -ge 2 ]' 5 || fail "round $round: no Operations menu"
    xdotool key v
    wait_until 'invert_ended' 30 || fail "round $round: Invert did not end"
    file_title "after Invert"
    close_all

    xdotool key ctrl+o
    wait_until dialog_shown 10 || fail "round $round: Ctrl+O after Invert opened no dialog"
    close_all
done
echo "PASS"
