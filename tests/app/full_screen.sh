#!/bin/sh
# Starts the real game on a virtual 1280 x 720 X display (wider than 4:3) under a window manager,
# presses keys like a player, and leaves behind for the test to check (geometries as xdotool
# prints them, frame.txt the window manager's frame extents):
#   window0.txt      the window as it starts
#   fullscreen.txt   after F1 (full screen); fullscreen.xwd its picture, cap*.png the game's
#                    own F2 screenshot of the same moment
#   window1.txt      after F1 again (back to the window)
#   window2.txt      after F5 (double size)
#   window3.txt      after F1 twice (full screen and back again)
#   exit_status      the game's exit status after the desktop asked it to close
#
#   full_screen.sh GAME_BINARY DATA_PCK WORK_FOLDER
# Exit status 77 when a tool it needs is missing or no display comes up.
set -u
game=$1
data=$2
work=$3
for tool in Xvfb openbox xdotool xwd xprop; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool"; exit 77; }
done
mkdir -p "$work" && cd "$work" || exit 1
ln -sf "$data" data.pck
mkdir -p sound replay

display=120
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x720x24 -nolisten tcp >xvfb.log 2>&1 &
xvfb=$!
export DISPLAY=":$display"
i=0
while ! xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -gt 50 ] && { kill "$xvfb" 2>/dev/null; echo "no display"; exit 77; }
    sleep 0.1
done
# Full screen at the desktop's resolution is the window manager's work.
HOME="$work" openbox >openbox.log 2>&1 &
wm=$!
sleep 0.5

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
    kill "$pid" "$wm" "$xvfb" 2>/dev/null
    echo "no window"
    exit 1
fi
xdotool windowfocus --sync "$window" 2>/dev/null
key() {
    xdotool keydown --window "$window" "$1"
    sleep 0.1
    xdotool keyup --window "$window" "$1" 2>/dev/null
    sleep 0.5
}
geometry() {
    xdotool getwindowgeometry "$window" >"$1"
}
# Skip the logo; wait until the title has faded in and its strip has come up.
sleep 0.5
key z
sleep 3.5
xprop -id "$window" _NET_FRAME_EXTENTS >frame.txt
geometry window0.txt
key F1
geometry fullscreen.txt
xwd -silent -id "$window" >fullscreen.xwd
key F2
key F1
geometry window1.txt
key F5
geometry window2.txt
key F1
key F1
geometry window3.txt
kill "$pid"
wait "$pid"
echo $? >exit_status
kill "$wm" "$xvfb" 2>/dev/null
wait "$wm" "$xvfb" 2>/dev/null
exit 0
