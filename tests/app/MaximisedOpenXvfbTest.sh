#!/usr/bin/env bash
# Maximises the document window of the file the editor started with (a double click on its title
# bar), then opens a second file through File > Open with its name typed into the dialog. Checks
# that the new window is maximised as well (the main window's title names it in brackets), that it
# covers the frame (no pixel of the empty frame's picture and little of its grey shows), and that
# the first click on the far right of the frame lands on the new window's waveform (the cursor
# display below the frame changes).
#   MaximisedOpenXvfbTest.sh <program> <artefact folder>
source "$(dirname "$(realpath "$0")")/XvfbDesktop.sh" "$@"
desktop_begin

sox -n -r 8000 -c 1 -b 16 one.wav synth 4 sine 440
sox -n -r 8000 -c 1 -b 16 two.wav synth 4 sine 660
# A main window much larger than a document window at its default size.
printf 'width=1200\nheight=740\n' >>"$settings"

# The main window as a picture in the scratch folder, and one region of it as raw pixels.
grab() { xwd -id "$window" -silent | convert xwd:- "$scratch/window.png"; }
region() { convert "$scratch/window.png" -crop "$1" rgb:- | md5sum; }
loaded() {
    [ "$(temp_files)" -ge "$1" ] &&
        ! xdotool search --onlyvisible --name '^Progress\.\.\.$' >/dev/null 2>&1
}

program_start one.wav
window=$(window_wait "one.wav - Sondrix Audio Editor")
wait_until "loaded 1" || fail "one.wav was not loaded"
grab
read -r width height < <(identify -format '%w %h\n' "$scratch/window.png")
# The frame begins at the first row of its workspace colour right of the document window.
convert "$scratch/window.png" -crop "1x$height+$((width - 40))+0" txt:"$scratch/column.txt"
top=$(grep -m1 '#9F9F9F' "$scratch/column.txt" | sed 's/^0,\([0-9]*\):.*/\1/') ||
    fail "no empty frame right of the document window"

xdotool mousemove --window "$window" 300 $((top + 12)) click --repeat 2 --delay 80 1
window_wait "one.wav - Sondrix Audio Editor - [one.wav]" 10 >/dev/null
xdotool key --window "$window" ctrl+o
window_wait "Open" 20 >/dev/null
xdotool type --delay 10 "$files/two.wav"
xdotool key Return
window_wait "two.wav - Sondrix Audio Editor - [two.wav]" 30 >/dev/null
wait_until "loaded 2" || fail "two.wav was not loaded"

# Pixels of the empty frame: its picture's own blue greys, which nothing else on the window uses,
# and its grey (which the document windows use for their one-pixel frame lines only).
frame_pixels() {
    grab
    convert "$scratch/window.png" -format %c histogram:info:- | awk '
        /#(DCE4ED|DDE5EE|D8E1EB|D3DDE8)/ { picture += $1 }
        /#9F9F9F/ { grey += $1 }
        END { print picture + 0, grey + 0 }'
}
empty_frame_hidden() {
    read -r picture grey < <(frame_pixels)
    [ "$picture" -eq 0 ] && [ "$grey" -lt $((width * height / 20)) ]
}
wait_until empty_frame_hidden 10 ||
    fail "the empty frame shows: picture and grey pixels $(frame_pixels)"

cursor_display="${width}x90+0+$((height - 110))"
xdotool mousemove --window "$window" $((width - 80)) $((top + 150))
grab
before=$(region "$cursor_display")
xdotool click 1
wait_until 'grab; [ "$(region "$cursor_display")" != "$before" ]' 10 ||
    fail "the first click on the right of the frame did not move the cursor"
shot maximised
program_end_by TERM
echo "PASS"
