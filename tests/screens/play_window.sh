#!/bin/sh
# Starts the real game in a virtual X display and plays it as a player would, keys sent to the
# window: the logo skipped, "GAME START", "Normal", TYPE-A, then stage 1 for a minute, firing
# and sweeping the ship from side to side, with the game's own F2 screenshots every five
# seconds; then the pause menu's Quit back to the title and the title's Exit. Leaves behind
# cap*.png, game.log, save and exit_status (0 when the title's Exit ended the game).
#
#   play_window.sh GAME_BINARY DATA_PCK WORK_FOLDER
# Exit status 77 when a tool it needs is missing or no display comes up.
set -u
. "$(dirname "$0")/../support/x_game.sh"
need_tools Xvfb xdotool
enter_work_folder "$3" "$2"
start_display 100 1024x768
start_game "$1"

# The logo, then the title once its menu has come up.
sleep 0.5
key z 4
# "GAME START" (the first item); a new save's difficulty is "Easy": one down to "Normal".
key z 1.5
key Down
key z 1.5
# TYPE-A, the first ship offered; the stage banner comes up a few seconds later.
key z 3
# A minute of stage 1: auto fire held throughout, the ship sweeping left and right across the
# lower field and now and then up and back, a screenshot every five seconds. The shot key is
# also tapped twice after each screenshot: in play a tap fires, and when the last ship is lost
# the same two presses take the continue ("YES") and the ship, so the minute is all play.
hold c
for step in 1 2 3 4 5 6 7 8 9 10 11 12; do
    if [ $((step % 2)) -eq 0 ]; then side=Left; else side=Right; fi
    hold "$side"
    sleep 1.2
    release "$side"
    if [ $((step % 3)) -eq 0 ]; then
        hold Up
        sleep 0.6
        release Up
        hold Down
        sleep 0.6
        release Down
    else
        hold "$side"
        sleep 1.2
        release "$side"
    fi
    sleep 1.5
    key F2 0.5
    key z 0.3
    key z 0.3
done
release c
# Pause: Quit (the second item) goes back to the title; there the cancel key puts the cursor
# on Exit and confirming ends the game.
key Escape 1
key F2 0.5
key Down
key z 3
key x 0.5
key z
wait_for_exit 5
stop_all
exit 0
