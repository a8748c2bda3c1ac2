// cmake --install into a scratch prefix, then the installed game as a player runs it: data and
// sounds from the prefix, the player's files in the per-user folder (SDL's dummy drivers).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "resources/DIB.h"
#include "resources/Png.h"
#include "sound/SoundBank.h"
#include "tests/app/GameProcess.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::GameRun;
using test::ScratchFolder;

class InstallTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!fs::exists(fs::path(VG_GAME_DIR) / "data.pck")) return;
        scratch_ = std::make_unique<ScratchFolder>("install");
        const std::string command =
            "'" VG_CMAKE_COMMAND "' --install '" VG_BINARY_DIR "' --component game --prefix '" +
            prefix().string() + "' > '" + (scratch_->path() / "install.log").string() + "' 2>&1";
        installed_ = std::system(command.c_str()) == 0;
    }
    static void TearDownTestSuite() { scratch_.reset(); }

    void SetUp() override {
        if (!scratch_) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR;
        ASSERT_TRUE(installed_) << test::readText(scratch_->path() / "install.log");
    }

    static fs::path prefix() { return scratch_->path() / "prefix"; }

    // A run of the installed game from a folder of its own, with its own lock folder and home.
    static GameRun installedRun(const std::string& name) {
        const fs::path base = scratch_->path() / name;
        for (const char* folder : {"elsewhere", "runtime", "home"}) {
            fs::create_directories(base / folder);
        }
        GameRun run;
        run.executable = prefix() / "bin" / "vesperglint";
        run.workingFolder = base / "elsewhere";
        run.environment = {{"XDG_RUNTIME_DIR", (base / "runtime").string()},
                           {"HOME", (base / "home").string()},
                           {"XDG_DATA_HOME", (base / "xdg").string()}};
        run.errors = base / "errors.txt";
        return run;
    }

    static std::unique_ptr<ScratchFolder> scratch_;
    static bool installed_;
};

std::unique_ptr<ScratchFolder> InstallTest::scratch_;
bool InstallTest::installed_ = false;

TEST_F(InstallTest, PutsTheGameItsDataSoundsEntryAndIconsIntoThePrefix) {
    EXPECT_EQ(fs::status(prefix() / "bin/vesperglint").permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);
    const fs::path share = prefix() / "share/vesperglint";
    EXPECT_EQ(fs::file_size(share / "data.pck"), fs::file_size(fs::path(VG_GAME_DIR) / "data.pck"));
    for (const SoundManager::EffectFile& effect : SoundManager::kEffectLoadOrder) {
        EXPECT_TRUE(fs::is_regular_file(share / effect.path)) << effect.path;
    }
    EXPECT_TRUE(fs::is_regular_file(share / "sound/title.ogg"));

    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = prefix() / "share/icons/hicolor" / folder / "apps/vesperglint.png";
        DIB picture;
        ASSERT_TRUE(decodePngFile(icon.c_str(), picture)) << icon;
        EXPECT_EQ(picture.width, size);
        EXPECT_EQ(picture.height, size);
        // Drawn, with the corners left see-through.
        EXPECT_EQ(*picture.pixelAt(0, 0) >> 24, 0u) << folder;
        EXPECT_EQ(*picture.pixelAt(size / 2, size / 2) >> 24, 0xFFu) << folder;
    }

    const fs::path entry = prefix() / "share/applications/vesperglint.desktop";
    const std::string text = test::readText(entry);
    EXPECT_NE(text.find("\nExec=\"" + (prefix() / "bin/vesperglint").string() + "\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nIcon=vesperglint\n"), std::string::npos) << text;
    if (std::system("command -v desktop-file-validate > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "desktop-file-validate is not installed (Debian's desktop-file-utils)";
    }
    const fs::path report = scratch_->path() / "validate.txt";
    const std::string command =
        "desktop-file-validate '" + entry.string() + "' > '" + report.string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << test::readText(report);
    EXPECT_EQ(test::readText(report), "");
}

// Four installed games at once: a first start with XDG_DATA_HOME, one with only HOME, one whose
// per-user folder cannot be made, one whose save is a folder and replay a file. Each plays until
// it is closed, reads nothing from the working folder and writes nothing into the prefix.
TEST_F(InstallTest, InstalledGamePlaysAndKeepsThePlayersFilesPerUser) {
    const auto installedFiles = test::listTree(prefix());

    GameRun fresh = installedRun("fresh");
    GameRun homeOnly = installedRun("homeOnly");
    homeOnly.environment["XDG_DATA_HOME"] = "";
    GameRun blocked = installedRun("blocked");
    const fs::path blockedFile = scratch_->path() / "blocked/xdg";
    std::ofstream(blockedFile) << "a file where the folder should be\n";
    GameRun damaged = installedRun("damaged");
    const fs::path damagedFolder = scratch_->path() / "damaged/xdg/vesperglint";
    fs::create_directories(damagedFolder / "save");
    std::ofstream(damagedFolder / "replay") << "a file where the folder should be\n";

    const std::vector<int> statuses =
        test::playAllThenClose({fresh, homeOnly, blocked, damaged}, milliseconds(2000));
    EXPECT_EQ(statuses, (std::vector<int>{0, 0, 0, 0}));

    // First start: the per-user folder is made, with the save and replay/ in it.
    const fs::path freshFolder = scratch_->path() / "fresh/xdg/vesperglint";
    EXPECT_TRUE(fs::is_regular_file(freshFolder / "save"));
    EXPECT_TRUE(fs::is_directory(freshFolder / "replay"));
    EXPECT_EQ(test::readText(fresh.errors), "");
    const fs::path homeFolder = scratch_->path() / "homeOnly/home/.local/share/vesperglint";
    EXPECT_TRUE(fs::is_regular_file(homeFolder / "save"));
    EXPECT_EQ(test::readText(homeOnly.errors), "");

    // What cannot be written is said once, and the game still played to its close.
    const std::string blockedSaid = test::readText(blocked.errors);
    EXPECT_EQ(test::countOf(blockedSaid, "vesperglint: "), 1u) << blockedSaid;
    EXPECT_EQ(test::countOf(blockedSaid, "cannot create " + blockedFile.string() + "/vesperglint"),
              1u)
        << blockedSaid;
    EXPECT_TRUE(fs::is_regular_file(blockedFile));
    const std::string damagedSaid = test::readText(damaged.errors);
    EXPECT_EQ(test::countOf(damagedSaid, "vesperglint: "), 2u) << damagedSaid;
    EXPECT_EQ(test::countOf(damagedSaid, (damagedFolder / "save").string() + " is not a file"), 1u)
        << damagedSaid;
    EXPECT_EQ(test::countOf(damagedSaid, (damagedFolder / "replay").string() + " is not a folder"),
              1u)
        << damagedSaid;
    EXPECT_TRUE(fs::is_directory(damagedFolder / "save"));
    EXPECT_TRUE(test::listTree(damagedFolder / "save").empty());
    EXPECT_FALSE(fs::exists(damagedFolder / "save.new"));
    EXPECT_TRUE(fs::is_regular_file(damagedFolder / "replay"));

    for (const GameRun* run : {&fresh, &homeOnly, &blocked, &damaged}) {
        EXPECT_TRUE(test::listTree(run->workingFolder).empty()) << run->workingFolder;
    }
    EXPECT_TRUE(test::listTree(scratch_->path() / "fresh/home").empty());
    EXPECT_EQ(test::listTree(prefix()), installedFiles);
}

}  // namespace
}  // namespace vg
