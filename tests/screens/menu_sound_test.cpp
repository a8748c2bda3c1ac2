// The sounds the screens ask for, heard through a sound bank on an open device that never
// plays: an effect that was started stays "playing".
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "ScreenFixture.h"
#include "core/GameSound.h"
#include "sound/SoundBank.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using namespace SoundManager;

class OpenSilentDevice final : public AudioDevice {
  public:
    bool isOpen() const override { return true; }
};

// A short 16-bit mono PCM WAV file.
void writeWav(const fs::path& path) {
    const uint32_t frames = 64;
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + frames * 2);
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(t[i]));
    };
    tag("RIFF");
    u32(36 + frames * 2);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(44100);
    u16(2);
    u16(16);
    tag("data");
    u32(frames * 2);
    for (uint32_t i = 0; i < frames; ++i) u16(static_cast<uint16_t>(i * 300));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

class MenuSoundTest : public testing::ScreenTest {
  protected:
    // Starts the game with a bank that can load the menu effects.
    bool startWithSound(const std::string& script) {
        fs::create_directories("sound");
        for (const char* name : {"select", "ok", "cancel", "extend"}) {
            writeWav(fs::path("sound") / (std::string(name) + ".wav"));
        }
        start(script);
        bank = soundBankOf(system());
        return bank->init(std::make_unique<OpenSilentDevice>());
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
