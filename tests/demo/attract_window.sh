#!/bin/sh
# Starts the real game in a virtual X display, skips the logo and then leaves the title alone,
# as a player who walked away would, and takes the game's own F2 screenshots (cap*.png) while
# the attract mode should be playing the demo; then ends the game.
#
#   attract_window.sh GAME_BINARY DATA_PCK DEMO_RPL WORK_FOLDER
# Exit status 77 when a tool it needs is missing or no display comes up.
set -u
game=$1
data=$2
demo=$3
work=$4
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool"; exit 77; }
done
mkdir -p "$work/replay" && cd "$work" || exit 1
ln -sf "$data" data.pck
ln -sf "$demo" replay/demo.rpl
sounds="$(dirname "$data")/sound"
if [ -d "$sounds" ]; then ln -sfn "$sounds" sound; else mkdir -p sound; fi

# A display of its own: the lowest free number from 110 on.
display=110
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
xvfb=$!
export DISPLAY=":$display"
i=0
while ! xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -gt 50 ] && { kill "$xvfb" 2>/dev/null; echo "no display"; exit 77; }
    sleep 0.1
done

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
}
# Skip the logo, then nothing: the title counts 600 frames (10 seconds) down and the demo
# starts. F2 is not a key that ends the demo. Screenshots from the 12th to the 20th second, so
# that a busy machine that runs the game slower still has a few of the demo, over more than a
# pulse of the demo mark.
sleep 0.5
key z
sleep 11.5
for shot in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16; do
    key F2
    sleep 0.4
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit 0
