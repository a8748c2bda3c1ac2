#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace vg {
namespace {

using Action = LaunchOptions::Action;

LaunchOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "vesperglint");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, FlagsPlayersExpect) {
    struct Case {
        std::vector<const char*> args;
        Action action;
        bool fullScreen;
        int scale;
    };
    const Case cases[] = {
        {{}, Action::Play, false, 1},
        {{"--fullscreen"}, Action::Play, true, 1},
        {{"--fullscreen", "--window"}, Action::Play, false, 1},
        {{"--window", "--fullscreen"}, Action::Play, true, 1},
        {{"--scale", "2"}, Action::Play, false, 2},
        {{"--scale=2", "--scale", "1"}, Action::Play, false, 1},
        {{"--scale=2", "--fullscreen"}, Action::Play, true, 2},
        {{"--fullscreen", "--help"}, Action::ShowHelp, true, 1},
        {{"--version"}, Action::ShowVersion, false, 1},
        {{"--help", "--version"}, Action::ShowHelp, false, 1},
    };
    for (const Case& c : cases) {
        const LaunchOptions options = parse(c.args);
        const std::string line = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(options.action, c.action) << line;
        EXPECT_EQ(options.fullScreen, c.fullScreen) << line;
        EXPECT_EQ(options.scale, c.scale) << line;
        EXPECT_TRUE(options.error.empty()) << line;
    }
}

TEST(CommandLineTest, AnythingElseIsRefusedWithTheReason) {
    struct Case {
        std::vector<const char*> args;
        const char* reasonMentions;
    };
    const Case cases[] = {
        {{"--fulscreen"}, "--fulscreen"},
        {{"-f"}, "-f"},
        {{"save"}, "save"},
        {{"--scale"}, "1 or 2"},
        {{"--scale", "3"}, "\"3\""},
        {{"--scale", "0"}, "\"0\""},
        {{"--scale=1x"}, "\"1x\""},
        {{"--scale", "--fullscreen"}, "--fullscreen"},
        // A bad flag wins over --help: the player learns what was wrong.
        {{"--help", "--nope"}, "--nope"},
    };
    for (const Case& c : cases) {
        const LaunchOptions options = parse(c.args);
        EXPECT_EQ(options.action, Action::Refuse) << c.args.front();
        EXPECT_NE(options.error.find(c.reasonMentions), std::string::npos) << options.error;
    }
    EXPECT_NE(usageText().find("--scale N"), std::string::npos);
    EXPECT_EQ(kExitBadCommandLine, 2);
}

}  // namespace
}  // namespace vg
