#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReplayTestFiles.h"
#include "core/Layers.h"
#include "core/System.h"
#include "platform/Joystick.h"
#include "platform/Keyboard.h"
#include "screens/TitleInit.h"

namespace vg {
namespace {

using namespace vg::testing;

constexpr ReplayStamp kStamp{26, 1, 2, 3, 4};

// The game's frame step with a scripted keyboard: what the replay records and substitutes.
class ReplaySystemTest : public ::testing::Test {
  protected:
    void frame(bool shotHeld) {
        if (shotHeld) {
            keyboard.queueHeld({static_cast<uint8_t>(system.keyRecords[0].shotKey)});
        } else {
            keyboard.queueHeld({});
        }
        system.frameStep();
    }
    Task* openPause() { return system.spawnFront<Task>(layer::kPause); }

    TempFolder folder{"replay"};
    ScriptedKeyboard keyboard;
    NullJoystick joystick;
    System system{keyboard, joystick};
};

TEST_F(ReplaySystemTest, PausedFramesAreNeitherRecordedNorReplayed) {
    ReplayData& replay = system.replay;
    replay.Reset();
    replay.recording = 1;
    replay.BeginStage(1, 0, newPlayer(0), PlayerRecord{});
    for (int f = 0; f < 10; ++f) frame(f % 2 == 0);
    EXPECT_EQ(replay.frame(), 10);

    Task* pause = openPause();
    ASSERT_NE(pause, nullptr);
    for (int f = 0; f < 5; ++f) frame(true);
    EXPECT_EQ(replay.frame(), 10) << "nothing is recorded while the pause screen is open";
    pause->end();
    for (int f = 0; f < 5; ++f) frame(f == 4);
    ASSERT_TRUE(replay.EndStage(100, 0, 0));
    const Bytes recorded = {0x10, 0, 0x10, 0, 0x10, 0, 0x10, 0, 0x10, 0, 0, 0, 0, 0, 0x10};
    EXPECT_EQ(replay.stageRecord(0).frameCount, 15);
    EXPECT_EQ(replay.stream(0), recorded);

    const std::string path = folder.file("paused.rpl");
    ASSERT_TRUE(replay.Save(path.c_str(), kStamp));
    ASSERT_TRUE(replay.Load(path.c_str()));
    replay.playingBack = 1;
    std::array<PlayerRecord, 2> records;
    ASSERT_TRUE(replay.StartRecords(0, records));
    replay.BeginStage(1, 0, records[0], records[1]);

    // Playback pauses too: the paused frames leave the stream where it was.
    Bytes fed;
    for (int f = 0; f < 4; ++f) {
        system.frameStep();
        fed.push_back(system.keyRecords[0].buttons);
    }
    pause = openPause();
    for (int f = 0; f < 3; ++f) {
        frame(true);
        EXPECT_EQ(system.keyRecords[0].buttons, 0x10) << "the pause screen reads the live keys";
    }
    pause->end();
    for (int f = 0; f < 11; ++f) {
        frame(false);
        fed.push_back(system.keyRecords[0].buttons);
        EXPECT_EQ(system.keyRecords[1].buttons, 0);
    }
    EXPECT_EQ(fed, recorded);
    EXPECT_EQ(replay.frame(), 15);
}

TEST_F(ReplaySystemTest, ReplayPlaysWithItsOwnSettingsAndThePlayerKeepsTheirs) {
    const std::string savePath = folder.file("save");
    system.loadSaveData(savePath.c_str());
    ReplayData& replay = system.replay;
    const auto settingsOf = [](const Config& config) {
        return ReplaySettings{config.buzz, config.opticalEffect, config.bulletChangeCount};
    };

    // Recorded with "Buzz" and "BulletChangeCount" on.
    system.config.buzz = 1;
    system.config.opticalEffect = 0;
    system.config.bulletChangeCount = 1;
    replay.Reset();
    replay.recording = 1;
    ASSERT_TRUE(recordStage(replay, 0, newPlayer(0), PlayerRecord{}, 20,
                            [](int, int32_t) { return uint8_t{0}; }));
    const std::string path = folder.file("settings.rpl");
    ASSERT_TRUE(replay.Save(path.c_str(), kStamp));
    const Bytes file = readBytes(path);
    const size_t index = 4 + 4 + 5 + 4;
    EXPECT_EQ(Bytes(file.begin() + index + 25, file.begin() + index + 28), (Bytes{1, 0, 1}));

    // Watched by a player with other settings.
    system.config.buzz = 0;
    system.config.opticalEffect = 1;
    system.config.bulletChangeCount = 0;
    const ReplaySettings own{0, 1, 0};
    ASSERT_TRUE(replay.Load(path.c_str()));
    replay.playingBack = 1;
    replay.BeginStage(1, 0, newPlayer(0), PlayerRecord{});
    EXPECT_EQ(settingsOf(system.config), (ReplaySettings{1, 0, 1}));
    // A second stage keeps the player's own settings in hand, not the replay's.
    replay.BeginStage(1, 1, newPlayer(0), PlayerRecord{});
    EXPECT_EQ(settingsOf(replay.playerConfig(system.config)), own);
    // A save written during the playback (the window closed) holds the player's own.
    ASSERT_TRUE(system.writeSaveData());
    ScoreTable scores;
    KeyRecords keys;
    Config saved;
    ASSERT_TRUE(readSaveFile(savePath.c_str(), SaveBlocks{scores, keys, saved}));
    EXPECT_EQ(settingsOf(saved), own);
    // Leaving the playback for the title (which resets the replay) gives them back.
    ASSERT_NE(system.spawnFront<TitleInit>(layer::kScreens), nullptr);
    system.frameStep();
    EXPECT_EQ(replay.playingBack, 0);
    EXPECT_EQ(settingsOf(system.config), own);

    // A file from before the settings were stored plays with the defaults.
    Bytes old = packageMagic();
    putEntry(old, "INDEX", indexBytes("OLD", 1));
    putEntry(old, "STAGE_0", stageBytes({0, 2, 0, 3, 32, 0, 0}, {}, 1, 0, 0));
    putEntry(old, "STAGE_0_DATA_0", zlibCompress({0}));
    writeBytes(path, old);
    ASSERT_TRUE(replay.Load(path.c_str()));
    replay.playingBack = 1;
    replay.BeginStage(1, 0, newPlayer(0), PlayerRecord{});
    EXPECT_EQ(settingsOf(system.config), (ReplaySettings{0, 0, 0}));

    // A new recording starts from the player's own settings even straight after a playback.
    replay.playingBack = 0;
    replay.recording = 1;
    replay.BeginStage(1, 0, newPlayer(0), PlayerRecord{});
    EXPECT_EQ(settingsOf(system.config), own);
    EXPECT_EQ(replay.settings(), own);
}

}  // namespace
}  // namespace vg
