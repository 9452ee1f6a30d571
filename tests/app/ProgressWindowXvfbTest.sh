#!/usr/bin/env bash
# The progress window under a real window manager: it is transient for the main window and offers
# no minimise or maximise function; when the window manager minimises it anyway (which takes the
# main window along), both come back at once, and the next operation leaves the main window shown.
#   ProgressWindowXvfbTest.sh <program> <artefact folder>
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"
desktop_begin

# Twenty minutes: the load keeps the progress window up for about a second.
sox -n -r 44100 -c 2 -b 16 long.wav synth 1200 sine 440
program_start long.wav
progress=$(window_wait "Progress..." 60)
main=$(xdotool search --name "^long\.wav - Sondrix Audio Editor$" | head -1)
[ -n "$main" ] || fail "no main window"

viewable() { xwininfo -id "$1" | grep -q "Map State: IsViewable"; }
progress_shown() { [ -n "$(xdotool search --onlyvisible --name '^Progress\.\.\.$')" ]; }

xprop -id "$progress" WM_TRANSIENT_FOR | grep -q "# $(printf '0x%x' "$main")" ||
    fail "the progress window is not transient for the main window"
# Motif functions: flag 1 set, and neither minimise (8) nor maximise (16).
hints=$(xprop -id "$progress" _MOTIF_WM_HINTS | sed 's/.*= //')
flags=$(cut -d, -f1 <<<"$hints")
functions=$(cut -d, -f2 <<<"$hints")
((flags & 1)) && ! ((functions & 24)) || fail "the progress window offers minimise: $hints"

xdotool windowminimize "$progress"
wait_until 'viewable "$main"' 10 || fail "minimising the progress window hid the main window"
wait_until '! progress_shown' 60 || fail "the load did not end"
wait_until 'viewable "$main"' 10 || fail "the main window is hidden after the load"

# The next operation (Invert from the keyboard) shows the progress window, not minimised.
xdotool windowactivate --sync "$main"
xdotool key --clearmodifiers alt+o v
wait_until 'progress_shown' 10 || fail "Invert showed no progress window"
viewable "$main" || fail "the next operation hid the main window"
wait_until '! progress_shown' 60 || fail "Invert did not end"
viewable "$main" || fail "the main window is hidden after Invert"
# The inverted document would ask to be saved at the end: the harness ends the program.
echo "PASS"
