#!/bin/sh
# Starts the real game in a virtual X display, skips the logo and then leaves the title alone,
# as a player who walked away would, and takes the game's own F2 screenshots (cap*.png) while
# the attract mode should be playing the demo; then ends the game.
#
#   attract_window.sh GAME_BINARY DATA_PCK DEMO_RPL WORK_FOLDER
# Exit status 77 when a tool it needs is missing or no display comes up.
set -u
. "$(dirname "$0")/../support/x_game.sh"
need_tools Xvfb xdotool
enter_work_folder "$4" "$2"
ln -sf "$3" replay/demo.rpl
start_display 110 1024x768
start_game "$1"
# Skip the logo, then nothing: the title counts 600 frames (10 seconds) down and the demo
# starts. F2 is not a key that ends the demo. Screenshots from the 12th to the 20th second, so
# that a busy machine that runs the game slower still has a few of the demo, over more than a
# pulse of the demo mark.
sleep 0.5
key z 0
sleep 11.5
for shot in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16; do
    key F2 0.4
done
stop_all
exit 0
