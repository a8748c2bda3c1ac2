#!/bin/sh
# Starts the real game in a virtual X display, presses keys like a player, and leaves behind
# for the test to check: window.xwd (the game window as X shows it), the game's own F2
# screenshot (cap*.png), save, and exit_status (0 when the title's Exit ended the game).
#
#   real_window.sh GAME_BINARY DATA_PCK WORK_FOLDER
# Exit status 77 when a tool it needs is missing.
set -u
game=$1
data=$2
work=$3
for tool in Xvfb xdotool xwd; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool"; exit 77; }
done
mkdir -p "$work" && cd "$work" || exit 1
ln -sf "$data" data.pck
# The sounds of the same build, when it made them: the title tune then plays (into the dummy
# audio driver).
sounds="$(dirname "$data")/sound"
if [ -d "$sounds" ]; then ln -sfn "$sounds" sound; else mkdir -p sound; fi
mkdir -p replay

# A display of its own: the lowest free number from 90 on.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
xvfb=$!
export DISPLAY=":$display"
i=0
while ! xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1))
    # An X server that does not come up is the machine's problem, not the game's: skip.
    [ $i -gt 50 ] && { kill "$xvfb" 2>/dev/null; echo "no display"; exit 77; }
    sleep 0.1
done

# Its own lock folder, so a game running elsewhere on the machine does not stop this one; the
# X video driver even where tests are told to use the dummy one.
XDG_RUNTIME_DIR="$work" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$game" >game.log 2>&1 &
pid=$!
window=
i=0
while [ -z "$window" ] && [ $i -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
    window=$(xdotool search --onlyvisible --name "Vesperglint" 2>/dev/null | head -n 1)
done
if [ -z "$window" ]; then
    kill "$pid" "$xvfb" 2>/dev/null
    echo "no window"
    exit 1
fi
xdotool windowfocus --sync "$window" 2>/dev/null
key() {
    xdotool keydown --window "$window" "$1"
    sleep 0.1
    xdotool keyup --window "$window" "$1" 2>/dev/null
    sleep 0.2
}
# Skip the logo; wait until the title has faded in and its strip has come up.
sleep 0.5
key z
sleep 5
xwd -silent -id "$window" >window.xwd
key F2
sleep 0.3
# Cancel puts the cursor on Exit; confirm quits.
key x
key z
i=0
while kill -0 "$pid" 2>/dev/null; do
    i=$((i + 1))
    if [ $i -gt 50 ]; then
        kill "$pid"
        break
    fi
    sleep 0.1
done
wait "$pid"
echo $? >exit_status
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit 0
