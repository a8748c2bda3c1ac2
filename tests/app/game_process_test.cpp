// The real game as a player starts it, under SDL's dummy drivers: from another folder, without
// its data, twice at once, with flags.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/app/GameProcess.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::GameRun;
using test::ScratchFolder;

const fs::path kBuiltGame = fs::path(VG_GAME_DIR) / "vesperglint";
const fs::path kBuiltData = fs::path(VG_GAME_DIR) / "data.pck";

// A copy of the built game in a folder of its own, the built data linked in beside it when
// `withData`: the layout of build/game without touching the real one.
fs::path makeGameFolder(const fs::path& folder, bool withData) {
    fs::create_directories(folder);
    fs::copy_file(kBuiltGame, folder / "vesperglint");
    if (withData) {
        fs::create_symlink(kBuiltData, folder / "data.pck");
        fs::create_symlink(fs::path(VG_GAME_DIR) / "sound", folder / "sound");
    }
    return folder / "vesperglint";
}

// Its own lock folder and home, so nothing outside the scratch folder is touched.
GameRun runIn(const ScratchFolder& scratch, const fs::path& executable, const std::string& log) {
    for (const char* folder : {"elsewhere", "runtime", "home", "logs"}) {
        fs::create_directories(scratch / folder);
    }
    GameRun run;
    run.executable = executable;
    run.workingFolder = scratch / "elsewhere";
    run.environment = {{"XDG_RUNTIME_DIR", (scratch / "runtime").string()},
                       {"HOME", (scratch / "home").string()},
                       {"XDG_DATA_HOME", ""}};
    run.output = scratch / "logs" / (log + ".out");
    run.errors = scratch / "logs" / (log + ".err");
    return run;
}

TEST(GameProcessTest, StartedFromAnotherFolderFindsItsDataRefusesASecondCopyAndEndsOnClose) {
    if (!fs::exists(kBuiltData)) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR;
    ScratchFolder scratch("start");
    const fs::path game = makeGameFolder(scratch / "game", true);
    GameRun first = runIn(scratch, game, "first");
    first.arguments = {"--scale", "2", "--fullscreen"};
    const pid_t pid = test::startGame(first);
    ASSERT_GT(pid, 0);
    // Let it open its window and run frames.
    std::this_thread::sleep_for(milliseconds(1500));
    ASSERT_EQ(test::waitExit(pid, milliseconds(0)), -1)
        << "the game stopped by itself: " << test::readText(first.errors);

    GameRun second = runIn(scratch, game, "second");
    EXPECT_EQ(test::runToEnd(second, milliseconds(10000)), 0);
    EXPECT_NE(test::readText(second.errors).find("すでに起動しています"), std::string::npos);
    EXPECT_EQ(test::waitExit(pid, milliseconds(0)), -1) << "the first copy stopped";

    // SDL turns SIGTERM into a close request: the game must end cleanly with 0.
    kill(pid, SIGTERM);
    EXPECT_EQ(test::waitExit(pid, milliseconds(10000)), 0);

    const std::string said = test::readText(first.errors);
    EXPECT_EQ(test::countOf(
                  said, "no data.pck in the working folder " + (scratch / "elsewhere").string() +
                            "; using the game's own folder " + (scratch / "game").string()),
              1u)
        << said;
    // The game's own folder is its working folder: the save is written there, nowhere else.
    EXPECT_TRUE(fs::is_regular_file(scratch / "game" / "save"));
    EXPECT_TRUE(test::listTree(scratch / "elsewhere").empty());
    EXPECT_TRUE(test::listTree(scratch / "home").empty());
}

TEST(GameProcessTest, WithoutUsableDataItSaysWhyFailsAndWritesNothing) {
    if (!fs::exists(kBuiltData)) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR;
    const uintmax_t builtSize = fs::file_size(kBuiltData);
    enum class Damage { Missing, Truncated, NotAPackage };
    for (Damage damage : {Damage::Missing, Damage::Truncated, Damage::NotAPackage}) {
        ScratchFolder scratch("nodata");
        const fs::path game = makeGameFolder(scratch / "game", false);
        const fs::path data = scratch / "game" / "data.pck";
        if (damage == Damage::Truncated) {
            // The first two fifths: the sheets sorted after them are lost.
            fs::copy_file(kBuiltData, data);
            fs::resize_file(data, builtSize * 2 / 5);
        } else if (damage == Damage::NotAPackage) {
            std::ofstream(data) << "not the game's data\n";
        }
        GameRun run = runIn(scratch, game, "run");
        run.environment["XDG_DATA_HOME"] = (scratch / "xdg").string();
        const auto before = test::listTree(scratch.path());
        EXPECT_EQ(test::runToEnd(run, milliseconds(10000)), 1);
        const std::string said = test::readText(run.errors);
        switch (damage) {
            case Damage::Missing:
                EXPECT_NE(said.find("\"data.pck\" was not found"), std::string::npos) << said;
                for (const fs::path& folder :
                     {scratch / "elsewhere", scratch / "game", scratch / "share/vesperglint"}) {
                    EXPECT_NE(said.find("  " + folder.string() + "\n"), std::string::npos)
                        << folder << " is not named in: " << said;
                }
                break;
            case Damage::Truncated:
                EXPECT_NE(said.find("\"" + data.string() + "\" is damaged or incomplete"),
                          std::string::npos)
                    << said;
                break;
            case Damage::NotAPackage:
                EXPECT_NE(said.find("\"" + data.string() + "\" is not a game data package"),
                          std::string::npos)
                    << said;
                break;
        }
        EXPECT_NE(said.find("./setup.sh build"), std::string::npos) << said;
        // Nothing written: no save, no per-user folder, no lock file.
        auto after = test::listTree(scratch.path());
        after.erase("logs/run.err");
        after.erase("logs/run.out");
        EXPECT_EQ(after, before);
    }
}

TEST(GameProcessTest, FlagsAnswerAtOnceAndUnknownOnesExitWith2) {
    ScratchFolder scratch("flags");
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* output;  // expected on standard output
        const char* errors;  // expected on standard error
    };
    const Case cases[] = {
        {{"--help"}, 0, "usage: vesperglint [--fullscreen | --window] [--scale N]", ""},
        {{"--version"}, 0, "Vesperglint ver1.0b\n", ""},
        {{"--bogus"}, 2, "", "unknown option \"--bogus\""},
        {{"--scale", "3"}, 2, "", "--scale takes 1 or 2"},
    };
    for (const Case& c : cases) {
        GameRun run = runIn(scratch, kBuiltGame, "flags");
        run.arguments = c.arguments;
        EXPECT_EQ(test::runToEnd(run, milliseconds(10000)), c.status) << c.arguments[0];
        const std::string out = test::readText(run.output);
        const std::string err = test::readText(run.errors);
        EXPECT_NE(out.find(c.output), std::string::npos) << out;
        EXPECT_NE(err.find(c.errors), std::string::npos) << err;
        // A refused command line shows the usage.
        if (c.status == 2) {
            EXPECT_NE(err.find("usage: vesperglint"), std::string::npos);
        }
    }
    EXPECT_TRUE(test::listTree(scratch / "runtime").empty());
    EXPECT_TRUE(test::listTree(scratch / "elsewhere").empty());
}

}  // namespace
}  // namespace vg
