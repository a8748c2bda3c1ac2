// Where the game finds its data and keeps the player's files: the folder search, the per-user
// folder with the things that can be wrong with it, and the data file names that the package
// reader and the sound bank take from the data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/GamePaths.h"
#include "resources/Package.h"
#include "sound/SoundBank.h"
#include "tests/sound/AudioFixtures.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

void writePackage(const fs::path& path, const std::string& entry) {
    PackageWriter writer;
    ASSERT_TRUE(writer.createPackage(path.c_str()));
    ASSERT_TRUE(
        writer.writeEntry(entry.data(), static_cast<uint32_t>(entry.size()), entry.c_str()));
    ASSERT_TRUE(writer.closePackage());
}

// The data folder is process-wide: every test leaves it as it found it (unset).
class DataFolderGuard {
  public:
    explicit DataFolderGuard(std::string folder) { setDataFolder(std::move(folder)); }
    ~DataFolderGuard() { setDataFolder({}); }
};

class GamePathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root() / "work");
        fs::create_directories(root() / "build/game");
        fs::create_directories(root() / "prefix/bin");
        fs::create_directories(root() / "prefix/share/vesperglint");
    }
    fs::path root() const { return dir.path(); }
    std::string at(const std::string& relative) const { return (root() / relative).string(); }
    void putData(const std::string& folder) { writePackage(root() / folder / "data.pck", "x"); }

    FolderSearch search(const std::string& work, const std::string& executable) const {
        FolderSearch s;
        s.workingFolder = at(work);
        s.executableFolder = executable.empty() ? std::string() : at(executable);
        s.xdgDataHome = at("xdg");
        s.home = at("home");
        s.isWritable = [this](const std::string& folder) { return !readOnly.count(folder); };
        return s;
    }

    test::TempDir dir;
    std::set<std::string> readOnly;
};

TEST_F(GamePathsTest, DataIsLookedForInTheWorkingFolderThenBesideTheGameThenInstalled) {
    // Nothing anywhere: every folder looked in is named, the installed one resolved.
    FolderSearchResult none = findGameFolders(search("work", "build/game"));
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.lookedIn, (std::vector<std::string>{at("work"), at("build/game"),
                                                       at("build/share/vesperglint")}));

    // Built game started from elsewhere: its own folder, written in place.
    putData("build/game");
    FolderSearchResult built = findGameFolders(search("work", "build/game"));
    ASSERT_TRUE(built.found);
    EXPECT_EQ(built.folders.source, DataSource::ExecutableFolder);
    EXPECT_EQ(built.folders.dataFolder, at("build/game"));
    EXPECT_EQ(built.folders.writeFolder, at("build/game"));
    EXPECT_FALSE(built.folders.perUser);

    // ... unless it cannot write there: then the per-user folder.
    readOnly.insert(at("build/game"));
    FolderSearchResult readOnlyGame = findGameFolders(search("work", "build/game"));
    EXPECT_EQ(readOnlyGame.folders.dataFolder, at("build/game"));
    EXPECT_EQ(readOnlyGame.folders.writeFolder, at("xdg/vesperglint"));
    EXPECT_TRUE(readOnlyGame.folders.perUser);

    // A working folder with data wins and is looked in once when it is the game's folder too.
    putData("work");
    FolderSearchResult here = findGameFolders(search("work", "build/game"));
    EXPECT_EQ(here.folders.source, DataSource::WorkingFolder);
    EXPECT_EQ(here.folders.dataFolder, at("work"));
    EXPECT_EQ(here.folders.writeFolder, at("work"));
    FolderSearchResult same = findGameFolders(search("build/game", "build/game"));
    EXPECT_EQ(same.lookedIn.front(), at("build/game"));
    EXPECT_EQ(same.folders.source, DataSource::WorkingFolder);

    // Installed: data from share/, the player's files always per user, writable prefix or not.
    putData("prefix/share/vesperglint");
    FolderSearchResult installed = findGameFolders(search("home", "prefix/bin"));
    ASSERT_TRUE(installed.found);
    EXPECT_EQ(installed.folders.source, DataSource::Installed);
    EXPECT_EQ(installed.folders.dataFolder, at("prefix/share/vesperglint"));
    EXPECT_EQ(installed.folders.writeFolder, at("xdg/vesperglint"));
    EXPECT_TRUE(installed.folders.perUser);

    // Without a known executable only the working folder is looked in.
    EXPECT_EQ(findGameFolders(search("home", "")).lookedIn, std::vector<std::string>{at("home")});
}

TEST_F(GamePathsTest, OnlyARegularDataFileCounts) {
    fs::create_directories(root() / "work/data.pck");
    fs::create_symlink(root() / "nowhere/data.pck", root() / "build/game/data.pck");
    EXPECT_FALSE(findGameFolders(search("work", "build/game")).found);
    // A link to a real file is what the test folders use.
    putData("prefix/share/vesperglint");
    fs::create_symlink(root() / "prefix/share/vesperglint/data.pck", root() / "home.pck");
    fs::create_directories(root() / "linked");
    fs::create_symlink(root() / "home.pck", root() / "linked/data.pck");
    EXPECT_TRUE(findGameFolders(search("linked", "")).found);
}

TEST(PerUserFolderTest, FollowsTheBaseDirectoryRules) {
    EXPECT_EQ(perUserDataFolder("/x/data", "/home/p"), "/x/data/vesperglint");
    EXPECT_EQ(perUserDataFolder("", "/home/p"), "/home/p/.local/share/vesperglint");
    // A relative XDG_DATA_HOME is ignored.
    EXPECT_EQ(perUserDataFolder("rel", "/home/p"), "/home/p/.local/share/vesperglint");
    EXPECT_EQ(perUserDataFolder("", ""), "");
}

TEST_F(GamePathsTest, PerUserFolderIsMadeOnFirstStartAndWhatCannotBeWrittenIsSaid) {
    GameFolders folders;
    folders.perUser = true;
    folders.writeFolder = at("xdg/vesperglint");
    WriteFolderCheck first = prepareWriteFolder(folders);
    EXPECT_TRUE(first.usable);
    EXPECT_TRUE(first.problems.empty());
    EXPECT_TRUE(fs::is_directory(root() / "xdg/vesperglint/replay"));
    EXPECT_TRUE(prepareWriteFolder(folders).problems.empty());

    // A "save" that is a folder and a "replay" that is a file: usable, two lines, one each.
    fs::create_directories(root() / "xdg/vesperglint/save");
    fs::remove(root() / "xdg/vesperglint/replay");
    ASSERT_TRUE(test::writeFile(at("xdg/vesperglint/replay"), {1, 2, 3}));
    WriteFolderCheck damaged = prepareWriteFolder(folders);
    EXPECT_TRUE(damaged.usable);
    ASSERT_EQ(damaged.problems.size(), 2u);
    EXPECT_NE(damaged.problems[0].find(at("xdg/vesperglint/save") + " is not a file"),
              std::string::npos);
    EXPECT_NE(damaged.problems[1].find(at("xdg/vesperglint/replay") + " is not a folder"),
              std::string::npos);
    EXPECT_TRUE(fs::is_directory(root() / "xdg/vesperglint/save"));
    EXPECT_TRUE(fs::is_regular_file(root() / "xdg/vesperglint/replay"));

    // A per-user folder that cannot be made (its parent is a file).
    ASSERT_TRUE(test::writeFile(at("blocked"), {0}));
    folders.writeFolder = at("blocked/vesperglint");
    WriteFolderCheck blocked = prepareWriteFolder(folders);
    EXPECT_FALSE(blocked.usable);
    ASSERT_EQ(blocked.problems.size(), 1u);
    EXPECT_NE(blocked.problems[0].find("cannot create " + at("blocked/vesperglint")),
              std::string::npos);

    folders.writeFolder.clear();
    WriteFolderCheck nowhere = prepareWriteFolder(folders);
    EXPECT_FALSE(nowhere.usable);
    EXPECT_EQ(nowhere.problems.size(), 1u);
}

TEST(DataPathTest, OnlyDataFileNamesGoToTheDataFolder) {
    struct Case {
        const char* path;
        bool data;
        const char* inDataFolder;
    };
    const Case cases[] = {
        {"data.pck", true, "/d/data.pck"},
        {"./data.pck", true, "/d/data.pck"},
        {"./sound/title.ogg", true, "/d/sound/title.ogg"},
        {"sound//ok.wav", true, "/d/sound/ok.wav"},
        {"./replay//demo.rpl", true, "/d/replay/demo.rpl"},
        {"./replay//replay01.rpl", false, "./replay//replay01.rpl"},
        {"save", false, "save"},
        {"cap20260307_9504_012.png", false, "cap20260307_9504_012.png"},
        {"sound/", false, "sound/"},
        {"sounds/x.wav", false, "sounds/x.wav"},
        {"data.pck.new", false, "data.pck.new"},
        {"/abs/data.pck", false, "/abs/data.pck"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isDataFileName(c.path), c.data) << c.path;
        EXPECT_EQ(dataPath(c.path), c.path) << "no data folder set: " << c.path;
    }
    DataFolderGuard guard("/d");
    for (const Case& c : cases) EXPECT_EQ(dataPath(c.path), c.inDataFolder) << c.path;
    EXPECT_EQ(dataPath(nullptr), "");
}

// The installed game's case: the working folder holds the player's files only; data.pck and the
// sounds are found in the data folder under the names the game code uses.
TEST(DataPathTest, PackagesAndSoundsAreReadFromTheDataFolderAndPlayerFilesFromHere) {
    test::TempDir data;
    test::TempDir work;
    fs::create_directories(data.path() / "sound");
    writePackage(data.path() / "data.pck", "pictures");
    writePackage(data.path() / "save", "installed");
    writePackage(work.path() / "save", "player");
    ASSERT_TRUE(
        test::writeWav16(data.file("sound/ok.wav"), 1, 44100, std::vector<int16_t>(200, 1000)));
    ASSERT_TRUE(test::writeOgg(data.file("sound/title.ogg"), 2, 44100,
                               test::sineFloat(44100, 440.0, 4410)));
    const fs::path previous = fs::current_path();
    fs::current_path(work.path());
    {
        SoundManager::SoundBank bank;
        ASSERT_TRUE(bank.init(std::make_unique<test::ManualAudioDevice>()));
        PackageReader reader;
        EXPECT_FALSE(reader.openPackage("data.pck"));
        EXPECT_FALSE(bank.loadEffect("./sound/ok.wav", SoundManager::kSoundOk));

        DataFolderGuard guard(data.path().string());
        EXPECT_TRUE(reader.openPackage("data.pck"));
        EXPECT_TRUE(reader.findEntry("pictures"));
        ASSERT_TRUE(reader.openPackage("save"));
        EXPECT_TRUE(reader.findEntry("player"));
        EXPECT_TRUE(bank.loadEffect("./sound/ok.wav", SoundManager::kSoundOk));
        EXPECT_TRUE(bank.loadMusic("./sound/title.ogg", SoundManager::kMusicTitle));
        EXPECT_FALSE(bank.loadMusic("./sound/none.ogg", SoundManager::kMusicBoss));
    }
    fs::current_path(previous);
}

}  // namespace
}  // namespace vg
