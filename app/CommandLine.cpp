#include "app/CommandLine.h"

#include <string_view>

namespace vg {

namespace {

LaunchOptions refuse(std::string error) {
    LaunchOptions options;
    options.action = LaunchOptions::Action::Refuse;
    options.error = std::move(error);
    return options;
}

}  // namespace

LaunchOptions parseCommandLine(int argc, const char* const* argv) {
    LaunchOptions options;
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--fullscreen") {
            options.fullScreen = true;
        } else if (arg == "--window") {
            options.fullScreen = false;
        } else if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
            std::string_view value;
            if (arg == "--scale") {
                if (i + 1 >= argc) return refuse("--scale needs a value: 1 or 2");
                value = argv[++i];
            } else {
                value = arg.substr(8);
            }
            if (value != "1" && value != "2") {
                return refuse("--scale takes 1 or 2, not \"" + std::string(value) + "\"");
            }
            options.scale = value == "1" ? 1 : 2;
        } else {
            return refuse("unknown option \"" + std::string(arg) + "\"");
        }
    }
    if (help)
        options.action = LaunchOptions::Action::ShowHelp;
    else if (version)
        options.action = LaunchOptions::Action::ShowVersion;
    return options;
}

std::string usageText() {
    return "usage: vesperglint [--fullscreen | --window] [--scale N] [--help] [--version]\n"
           "\n"
           "  --fullscreen  start in full screen (F1 or Alt+Enter switches)\n"
           "  --window      start in a window (the default)\n"
           "  --scale N     window size: 1 for 512 x 384 (the default), 2 for 1024 x 768\n"
           "                (F5 switches)\n"
           "  --help        show this text\n"
           "  --version     show the version\n"
           "\n"
           "The game reads data.pck and sound/ from the folder it is started in, else from its\n"
           "own folder, else from ../share/vesperglint beside it. It keeps save, replay/ and\n"
           "screenshots in that same folder, or in $XDG_DATA_HOME/vesperglint (default\n"
           "~/.local/share/vesperglint) when it is installed or cannot write there.\n";
}

}  // namespace vg
