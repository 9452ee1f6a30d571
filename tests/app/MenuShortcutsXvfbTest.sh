#!/usr/bin/env bash
# Presses the shortcuts that the menus show as real key events through the X server, the keypad's
# plus and minus among them, and checks that each one acts: the main window's picture changes
# (zoom, selection, cursor, clipboard, undo, playback), the file is saved, or the command's dialog
# opens. F1 is left out: it starts the help viewer outside the program.
#   MenuShortcutsXvfbTest.sh <program> <artefact folder>
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"
desktop_begin

sox -n -r 44100 -c 2 -b 16 tone.wav synth 2 sine 440
program_start tone.wav
main=$(window_wait "tone.wav - Sondrix Audio Editor")
wait_until '[ "$(temp_files)" -ge 1 ]' 60 || fail "the file was not loaded"
wait_until '[ -z "$(xdotool search --onlyvisible --name "^Progress\.\.\.$")" ]' 30 ||
    fail "the progress window stays"

picture() { xwd -id "$main" -silent | md5sum; }
windows() { xdotool search --onlyvisible --class sondrix | wc -l; }
# True when the picture stays the same for half a second (the load's last repaints are done).
steady() {
    local first
    first=$(picture)
    sleep 0.5
    [ "$(picture)" = "$first" ]
}
wait_until steady 30 || fail "the main window keeps changing"

# Keys whose effect shows in the main window, in an order where each one changes something.
for key in ctrl+KP_Add ctrl+KP_Subtract ctrl+plus ctrl+minus ctrl+equal ctrl+a ctrl+c ctrl+d End \
    bracketleft Home bracketright ctrl+a ctrl+x ctrl+z ctrl+shift+z ctrl+z ctrl+v ctrl+a Delete ctrl+z \
    space; do
    before=$(picture)
    xdotool key --clearmodifiers "$key"
    wait_until '[ "$(picture)" != "$before" ]' 10 || fail "$key changed nothing"
done

# Save writes the file or asks for its format.
stamp=$(stat -c %.9Y.%s tone.wav)
xdotool key --clearmodifiers ctrl+s
wait_until '[ "$(stat -c %.9Y.%s tone.wav)" != "$stamp" ] || [ "$(windows)" -ge 2 ]' 30 ||
    fail "ctrl+s saved nothing"
[ "$(windows)" -eq 1 ] || xdotool key Escape
wait_until '[ "$(windows)" -eq 1 ]' 10 || fail "the dialog of ctrl+s stays"

# Keys that open a dialog, closed again with Esc.
for key in ctrl+o ctrl+n; do
    xdotool key --clearmodifiers "$key"
    wait_until '[ "$(windows)" -ge 2 ]' 10 || fail "$key opened no dialog"
    xdotool key Escape
    wait_until '[ "$(windows)" -eq 1 ]' 10 || fail "the dialog of $key stays"
done

# The edited document would ask to be saved at the end: the harness ends the program.
echo "PASS"
