# Shell functions for tests that run the real game in a virtual X display and press keys like a
# player. Sourced by the test scripts (POSIX sh). Every function that finds the machine unable to
# run such a test (a missing tool, no display) ends the script with status 77, which the tests
# report as skipped.

# need_tools TOOL...: ends with 77 unless every tool is on the PATH.
need_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool"; exit 77; }
    done
}

# enter_work_folder WORK DATA_PCK: makes WORK the game's working folder with the data of the
# build linked in, and the sounds of the same build when it made them (the tunes then play into
# the dummy audio driver).
enter_work_folder() {
    mkdir -p "$1/replay" && cd "$1" || exit 1
    ln -sf "$2" data.pck
    sounds="$(dirname "$2")/sound"
    if [ -d "$sounds" ]; then ln -sfn "$sounds" sound; else mkdir -p sound; fi
}

# start_display FIRST_NUMBER GEOMETRY: an X server of its own on the lowest free display number
# from FIRST_NUMBER on; sets DISPLAY and xvfb_pid.
start_display() {
    display=$1
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 "${2}x24" -nolisten tcp >xvfb.log 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display"
    i=0
    while ! xdotool getmouselocation >/dev/null 2>&1; do
        i=$((i + 1))
        # An X server that does not come up is the machine's problem, not the game's: skip.
        [ $i -gt 50 ] && { kill "$xvfb_pid" 2>/dev/null; echo "no display"; exit 77; }
        sleep 0.1
    done
}

# start_game GAME [ARGUMENT...]: starts the game with its output in game.log and waits for its
# window; sets game_pid and window. Ends with 1 when no window shows within 10 s.
# The game gets its own lock folder, so a game running elsewhere on the machine does not stop
# this one, and the X video driver even where tests are told to use the dummy one.
start_game() {
    binary=$1
    shift
    XDG_RUNTIME_DIR="$PWD" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$binary" "$@" >game.log 2>&1 &
    game_pid=$!
    window=
    i=0
    while [ -z "$window" ] && [ $i -lt 100 ]; do
        sleep 0.1
        i=$((i + 1))
        window=$(xdotool search --onlyvisible --name "Vesperglint" 2>/dev/null | head -n 1)
    done
    if [ -z "$window" ]; then
        stop_all
        echo "no window"
        exit 1
    fi
    xdotool windowfocus --sync "$window" 2>/dev/null
}

# key KEY [SECONDS_AFTER]: a press of 0.1 s as a player makes it, then a pause (0.2 s unless
# given).
key() {
    xdotool keydown --window "$window" "$1"
    sleep 0.1
    xdotool keyup --window "$window" "$1" 2>/dev/null
    sleep "${2:-0.2}"
}

# hold KEY... / release KEY...: keys kept down across other presses.
hold() {
    for held in "$@"; do xdotool keydown --window "$window" "$held"; done
}
release() {
    for held in "$@"; do xdotool keyup --window "$window" "$held" 2>/dev/null; done
}

# wait_for_exit SECONDS: waits that long for the game to end by itself and writes its exit status
# into exit_status; a game that is still running then is killed and 124 written.
wait_for_exit() {
    i=0
    while kill -0 "$game_pid" 2>/dev/null; do
        i=$((i + 1))
        if [ $i -gt $(($1 * 10)) ]; then
            kill "$game_pid"
            wait "$game_pid"
            echo 124 >exit_status
            return
        fi
        sleep 0.1
    done
    wait "$game_pid"
    echo $? >exit_status
}

# stop_all: ends whatever of the game, the window manager and the X server is still running.
stop_all() {
    for process in ${game_pid:-} ${wm_pid:-} ${xvfb_pid:-}; do
        kill "$process" 2>/dev/null
        wait "$process" 2>/dev/null
    done
    return 0
}
