#!/bin/sh
# Starts the real game in a virtual X display, presses keys like a player, and leaves behind
# for the test to check: window.xwd (the game window as X shows it), the game's own F2
# screenshot (cap*.png), save, and exit_status (0 when the title's Exit ended the game).
#
#   real_window.sh GAME_BINARY DATA_PCK WORK_FOLDER
# Exit status 77 when a tool it needs is missing.
set -u
. "$(dirname "$0")/../support/x_game.sh"
need_tools Xvfb xdotool xwd
enter_work_folder "$3" "$2"
start_display 90 1024x768
start_game "$1"
# Skip the logo; wait until the title has faded in and its strip has come up.
sleep 0.5
key z
sleep 5
xwd -silent -id "$window" >window.xwd
key F2 0.5
# Cancel puts the cursor on Exit; confirm quits.
key x
key z
wait_for_exit 5
stop_all
exit 0
