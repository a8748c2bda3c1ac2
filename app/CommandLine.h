#pragma once

#include <string>

namespace vg {

// How the player asked the game to start.
struct LaunchOptions {
    enum class Action { Play, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Play;
    bool fullScreen = false;
    // Window scale: 1 (512 x 384) or 2 (1024 x 768).
    int scale = 1;
    // For Refuse: what was wrong, one line.
    std::string error;
};

// Reads the flags: --help, --version, --fullscreen, --window, --scale N (also --scale=N).
// --fullscreen and --window override each other, the last one wins; --help and --version win
// over everything else. Anything else, or a scale other than 1 or 2, refuses to start.
LaunchOptions parseCommandLine(int argc, const char* const* argv);

// The usage text of --help and of a refused command line.
std::string usageText();

// Exit statuses of the game.
inline constexpr int kExitPlayed = 0;
inline constexpr int kExitCannotStart = 1;
inline constexpr int kExitBadCommandLine = 2;

}  // namespace vg
