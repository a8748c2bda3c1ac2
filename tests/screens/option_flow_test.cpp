// The options, reset and key configuration screens driven end to end, and the save they feed.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "ScreenFixture.h"
#include "core/SaveData.h"
#include "screens/KeyConfig.h"
#include "screens/Option.h"
#include "screens/OptionSetDefault.h"
#include "screens/SetKey.h"
#include "screens/Title.h"

namespace vg {
namespace {

using testing::findTask;
using OptionFlowTest = testing::ScreenTest;

// Skip the logo, Up twice to "Option", confirm: the options screen acts from frame 56.
const std::string kToOptions = "5 Z\n50 UP\n52 UP\n54 Z\n";

TEST_F(OptionFlowTest, HeldRightOnMusicVolumeStopsAt100) {
    start(kToOptions + "60 LEFT\n62 LEFT\n64 LEFT\n70-200 RIGHT\n");
    runTo(65);
    EXPECT_EQ(Option::valueText(system().config, Option::kRowMusicVolume), " 92");
    runTo(200);
    EXPECT_EQ(system().config.musicVolume, 1.0f);
    EXPECT_EQ(Option::valueText(system().config, Option::kRowMusicVolume), "100");
}

TEST_F(OptionFlowTest, SEVolumeStopsAtZero) {
    start(kToOptions + "60 DOWN\n62-300 LEFT\n");
    runTo(300);
    EXPECT_EQ(system().config.seVolume, 0.0f);
    EXPECT_EQ(Option::valueText(system().config, Option::kRowSEVolume), "  0");
}

TEST_F(OptionFlowTest, PlayerCollisionCyclesBothWays) {
    start(kToOptions +
          "60 DOWN\n62 DOWN\n64 DOWN\n70 RIGHT\n72 RIGHT\n74 RIGHT\n76 LEFT\n78 LEFT\n");
    const char* expected[] = {"always", "off", "on", "off", "always"};
    for (int i = 0; i < 5; ++i) {
        runTo(70 + 2 * i);
        EXPECT_EQ(Option::valueText(system().config, Option::kRowPlayerCollision), expected[i])
            << "step " << i;
    }
}

TEST_F(OptionFlowTest, SwitchesToggleAndDamagedValuesTurnOn) {
    start(kToOptions + "60 DOWN\n62 DOWN\n66 RIGHT\n68 LEFT\n70 DOWN\n72 DOWN\n74 RIGHT\n");
    runTo(58);
    system().config.bulletChangeCount = 7;
    system().config.buzz = 9;
    EXPECT_EQ(Option::valueText(system().config, Option::kRowBuzz), "off");
    runTo(66);
    EXPECT_EQ(system().config.bulletChangeCount, 1);
    runTo(68);
    EXPECT_EQ(system().config.bulletChangeCount, 0);
    runTo(74);
    EXPECT_EQ(system().config.buzz, 1);
    EXPECT_EQ(Option::valueText(system().config, Option::kRowBuzz), "on");
}

TEST_F(OptionFlowTest, DefaultAnsweredNoChangesNothingAndYesRestoresEverything) {
    // Up twice to "Default"; confirm opens the dialog, confirm on "No" closes it; again, Left to
    // "Yes" and confirm.
    start(kToOptions + "60 UP\n62 UP\n66 Z\n70 Z\n80 Z\n84 LEFT\n88 Z\n");
    runTo(58);
    Config& config = system().config;
    setMusicVolume(system(), 0.5f);
    setSEVolume(system(), 0.25f);
    config.bulletChangeCount = 1;
    config.playerCollision = 2;
    config.buzz = 1;
    config.opticalEffect = 1;
    config.furthestStage = 3;
    std::strcpy(config.lastName, "ABC");
    system().keyRecords[0].pauseKey = 0x41;
    system().keyRecords[1].upKey = 0x42;
    const Config before = config;
    const KeyRecords keysBefore = system().keyRecords;

    runTo(67);
    Option* option = findTask<Option>(system());
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->cursor, Option::kRowDefault);
    ASSERT_NE(findTask<OptionSetDefault>(system()), nullptr);
    EXPECT_EQ(option->state, kTaskFrozen);
    runTo(71);
    EXPECT_EQ(findTask<OptionSetDefault>(system()), nullptr);
    EXPECT_EQ(option->state, kTaskActive);
    EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0);
    EXPECT_EQ(system().keyRecords[0].pauseKey, keysBefore[0].pauseKey);
    EXPECT_EQ(system().keyRecords[1].upKey, 0x42);

    runTo(84);
    EXPECT_EQ(findTask<OptionSetDefault>(system())->choice, OptionSetDefault::kYes);
    runTo(89);
    EXPECT_EQ(findTask<OptionSetDefault>(system()), nullptr);
    EXPECT_EQ(config.musicVolume, 1.0f);
    EXPECT_EQ(config.seVolume, 0.85f);
    EXPECT_EQ(config.bulletChangeCount, 0);
    EXPECT_EQ(config.playerCollision, 1);
    EXPECT_EQ(config.buzz, 0);
    EXPECT_EQ(config.opticalEffect, 0);
    EXPECT_EQ(system().keyRecords[0].pauseKey, 0x56);
    EXPECT_EQ(system().keyRecords[1].upKey, 0x68);
    // Progress and the last name are not settings.
    EXPECT_EQ(config.furthestStage, 3);
    EXPECT_STREQ(config.lastName, "ABC");
    // The held confirm that closed the dialog does not act on the options screen again.
    runTo(95);
    EXPECT_EQ(findTask<OptionSetDefault>(system()), nullptr);
}

TEST_F(OptionFlowTest, SetKeyTakesOnlyANewPressAfterItsSecondFrame) {
    // Up three times to "KeyConfig", confirm; there Down twice to "Left" and confirm (Z held
    // on); A goes down in SetKey's second frame, B later; then cancel back to the options.
    start(kToOptions +
          "60 UP\n62 UP\n64 UP\n68 Z\n72 DOWN\n74 DOWN\n78-90 Z\n79-85 A\n86 B\n95 X\n");
    runTo(68);
    EXPECT_EQ(findTask<Option>(system()), nullptr);
    runTo(74);
    KeyConfig* keys = findTask<KeyConfig>(system());
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->row, 2);
    runTo(78);
    SetKey* dialog = findTask<SetKey>(system());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->button, KeyButton::Left);
    EXPECT_EQ(keys->state, kTaskFrozen);
    runTo(85);
    EXPECT_EQ(system().keyRecords[0].leftKey, 0x25);
    runTo(86);
    EXPECT_EQ(system().keyRecords[0].leftKey, 0x42);
    EXPECT_EQ(findTask<SetKey>(system()), nullptr);
    EXPECT_EQ(keys->state, kTaskActive);
    // Cancel on the key configuration leads back to the options, not to the title.
    runTo(97);
    EXPECT_EQ(findTask<KeyConfig>(system()), nullptr);
    EXPECT_EQ(findTask<Title>(system()), nullptr);
    EXPECT_NE(findTask<Option>(system()), nullptr);
}

TEST_F(OptionFlowTest, KeyConfigSwitchesPlayerAndPadAndQuits) {
    // Row 0: Right switches to player 2; Down to "PadID", Right: no joystick, so "no use";
    // Up twice to "Quit" (wrapping), confirm.
    start(kToOptions +
          "60 UP\n62 UP\n64 UP\n68 Z\n72 RIGHT\n74 DOWN\n76 RIGHT\n78 UP\n80 UP\n84 Z\n");
    runTo(72);
    KeyConfig* keys = findTask<KeyConfig>(system());
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->player, 1);
    EXPECT_EQ(system().keyRecords[1].padId, 1);
    runTo(76);
    EXPECT_EQ(system().keyRecords[1].padId, -1);
    EXPECT_EQ(system().keyRecords[0].padId, 0);
    runTo(80);
    EXPECT_EQ(keys->row, KeyConfig::kRowQuit);
    runTo(86);
    EXPECT_EQ(findTask<KeyConfig>(system()), nullptr);
    EXPECT_NE(findTask<Option>(system()), nullptr);
}

TEST_F(OptionFlowTest, SettingsSurviveExitAndRestart) {
    // Options: Down four times to "Buzz", Right; cancel to the title (acting from 84), cancel
    // to "Exit", confirm.
    start(kToOptions + "60 DOWN\n62 DOWN\n64 DOWN\n66 DOWN\n70 RIGHT\n72 LEFT\n80 X\n90 X\n95 Z\n");
    host->run(200);
    ASSERT_EQ(system().quitRequested, 1);
    EXPECT_EQ(host->framesRun(), 96u);
    EXPECT_EQ(system().config.buzz, 0);
    system().config.buzz = 1;
    system().keyRecords[1].bombKey = 0x4B;
    host.reset();
    ASSERT_TRUE(std::filesystem::exists("save"));

    ScoreTable scores;
    KeyRecords keys;
    Config config;
    ASSERT_TRUE(readSaveFile("save", SaveBlocks{scores, keys, config}));
    EXPECT_EQ(config.buzz, 1);
    EXPECT_EQ(keys[1].bombKey, 0x4B);

    start("");
    runTo(0);
    EXPECT_EQ(system().config.buzz, 1);
    EXPECT_EQ(system().keyRecords[1].bombKey, 0x4B);
}

}  // namespace
}  // namespace vg
