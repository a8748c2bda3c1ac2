// The sounds the screens ask for, heard through a sound bank on an open device that never
// plays: an effect that was started stays "playing".
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "ScreenFixture.h"
#include "core/GameSound.h"
#include "sound/SoundBank.h"
#include "tests/sound/AudioFixtures.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using namespace SoundManager;

class MenuSoundTest : public testing::ScreenTest {
  protected:
    // Starts the game with a bank that can load the menu effects.
    bool startWithSound(const std::string& script) {
        fs::create_directories("sound");
        for (const char* name : {"select", "ok", "cancel", "extend"}) {
            EXPECT_TRUE(test::writeShortWav("sound/" + std::string(name) + ".wav"));
        }
        start(script);
        bank = soundBankOf(system());
        return bank->init(std::make_unique<test::ManualAudioDevice>());
    }
    // Asked for and not yet carried out, or carried out (then it stays playing).
    bool started(int32_t number) {
        auto* effect = dynamic_cast<SoundEffect*>(bank->find(number));
        return effect &&
               (effect->soundState == kPlayRequested || bank->effects().isPlaying(effect->handle));
    }
    SoundBank* bank = nullptr;
};

TEST_F(MenuSoundTest, TitleMovesConfirmsAndRefusals) {
    ASSERT_TRUE(startWithSound("5 Z\n50 Z\n60 DOWN\n"));
    runTo(49);
    ASSERT_NE(bank->find(kSoundSelect), nullptr) << "GameInit loads the effects";
    EXPECT_FALSE(started(kSoundCancel));
    // Game start leads on to the difficulty choice with the ok sound.
    runTo(52);
    EXPECT_TRUE(started(kSoundOk));
    EXPECT_FALSE(started(kSoundCancel));
    EXPECT_FALSE(started(kSoundSelect));
    runTo(62);
    EXPECT_TRUE(started(kSoundSelect));
    EXPECT_FALSE(started(kSoundExtend));
}

TEST_F(MenuSoundTest, UnlockPlaysTheExtendSound) {
    ASSERT_TRUE(
        startWithSound("10 DOWN\n12 RIGHT\n14 UP\n16 LEFT\n18 LEFT\n20 DOWN\n22 RIGHT\n24 UP\n"));
    runTo(170);
    EXPECT_FALSE(started(kSoundExtend));
    runTo(185);
    EXPECT_TRUE(started(kSoundExtend));
}

TEST_F(MenuSoundTest, OptionVolumeChangesReachTheEffects) {
    ASSERT_TRUE(startWithSound("5 Z\n50 UP\n52 UP\n54 Z\n60 DOWN\n62-400 LEFT\n"));
    runTo(400);
    auto* effect = dynamic_cast<SoundEffect*>(bank->find(kSoundSelect));
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(system().config.seVolume, 0.0f);
    EXPECT_EQ(effect->volume, -10000);
}

TEST_F(MenuSoundTest, TitleTuneStartsOnceAndPlaysOnThroughTheOptions) {
    const fs::path tune = fs::path(VG_GAME_DIR) / "sound" / "title.ogg";
    if (!fs::exists(tune)) GTEST_SKIP() << "no title.ogg in " << VG_GAME_DIR;
    fs::create_directories("sound");
    fs::copy_file(tune, "sound/title.ogg");
    // Title, Up twice to "Option", confirm; "Back" (Up) and confirm.
    ASSERT_TRUE(startWithSound("5 Z\n50 UP\n52 UP\n54 Z\n60 UP\n62 Z\n"));
    runTo(45);
    SoundObject* music = bank->find(kMusicTitle);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->soundState, kPlaying);
    runTo(70);
    EXPECT_EQ(bank->find(kMusicTitle), music) << "the tune is not loaded again";
    EXPECT_EQ(music->soundState, kPlaying);
}

}  // namespace
}  // namespace vg
