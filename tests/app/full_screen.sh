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
. "$(dirname "$0")/../support/x_game.sh"
need_tools Xvfb openbox xdotool xwd xprop
enter_work_folder "$3" "$2"
start_display 120 1280x720
# Full screen at the desktop's resolution is the window manager's work.
HOME="$PWD" openbox >openbox.log 2>&1 &
wm_pid=$!
sleep 0.5
start_game "$1"
geometry() {
    xdotool getwindowgeometry "$window" >"$1"
}
# Skip the logo; wait until the title has faded in and its strip has come up.
sleep 0.5
key z 0.5
sleep 3.5
xprop -id "$window" _NET_FRAME_EXTENTS >frame.txt
geometry window0.txt
key F1 0.5
geometry fullscreen.txt
xwd -silent -id "$window" >fullscreen.xwd
key F2 0.5
key F1 0.5
geometry window1.txt
key F5 0.5
geometry window2.txt
key F1 0.5
key F1 0.5
geometry window3.txt
# As the desktop asks a program to close.
kill "$game_pid"
wait_for_exit 5
stop_all
exit 0
