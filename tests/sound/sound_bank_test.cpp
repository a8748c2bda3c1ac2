#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "sound/SoundBank.h"
#include "tests/sound/AudioFixtures.h"

namespace vg::SoundManager {
namespace {

constexpr int kRate = 44100;

// A working folder with sound/ holding every effect (a short constant wave each) and two
// tunes; the bank plays into a mixer the test renders.
class SoundBankTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "sound");
        for (const EffectFile& file : kEffectLoadOrder) {
            ASSERT_TRUE(
                test::writeWav16(dir.file(file.path), 1, kRate, std::vector<int16_t>(2000, 10000)));
        }
        ASSERT_TRUE(test::writeOgg(dir.file("sound/title.ogg"), 2, kRate,
                                   test::sineFloat(kRate, 441.0, 2 * kRate)));
        ASSERT_TRUE(test::writeOgg(dir.file("sound/boss.ogg"), 2, kRate,
                                   test::sineFloat(kRate, 882.0, kRate)));
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        ASSERT_TRUE(bank.init(std::make_unique<test::ManualAudioDevice>()));
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::vector<int16_t> render(int frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        bank.mixer().render(out.data(), frames);
        return out;
    }
    // One game frame: the sound step runs on odd frames.
    void frame() {
        if (frameCounter & 1) bank.soundStep();
        ++frameCounter;
    }
    EffectLibrary& effects() { return bank.effects(); }
    SoundEffect* effect(int32_t number) { return dynamic_cast<SoundEffect*>(bank.find(number)); }
    BGM* tune(int32_t number) { return dynamic_cast<BGM*>(bank.find(number)); }

    test::TempDir dir;
    std::filesystem::path previous;
    SoundBank bank;
    uint32_t frameCounter = 0;
};

TEST(SoundBankNoDeviceTest, EverythingFailsQuietly) {
    SoundBank bank;
    EXPECT_FALSE(bank.init(std::make_unique<NullAudioDevice>()));
    EXPECT_FALSE(bank.effectsReady());
    EXPECT_EQ(bank.loadEffects(), 0);
    EXPECT_FALSE(bank.loadMusic("./sound/title.ogg", kMusicTitle));
    // Requests for numbers not in the bank are ignored.
    bank.playSound(kSoundShot);
    bank.stopSound(kMusicTitle);
    bank.unloadSound(3);
    bank.setSoundVolume(3, 0.5f);
    bank.setAllEffectVolume(0.0f);
    bank.soundStep();
    EXPECT_EQ(bank.find(kSoundShot), nullptr);

    SoundBank neverStarted;
    EXPECT_FALSE(neverStarted.loadEffect("./sound/shot.wav", 1));
}

TEST_F(SoundBankTest, LoadsEveryEffectUnderItsNumber) {
    EXPECT_EQ(kEffectLoadOrder[5].number, kSoundDead);
    EXPECT_STREQ(kEffectLoadOrder[5].path, "./sound/dead.wav");
    std::filesystem::remove(dir.file("sound/graze.wav"));
    EXPECT_EQ(bank.loadEffects(), 22);
    for (int32_t n = 0; n <= kSoundPause; ++n) {
        if (n == kSoundGraze) {
            EXPECT_EQ(bank.find(n), nullptr);
            continue;
        }
        ASSERT_NE(effect(n), nullptr) << n;
        EXPECT_EQ(effect(n)->soundState, kIdle);
        EXPECT_EQ(effect(n)->volume, -1000);
    }
}

TEST_F(SoundBankTest, RequestsAreCarriedOutOnTheNextOddFrame) {
    ASSERT_TRUE(bank.loadEffect("./sound/shot.wav", kSoundShot));
    const WaveHandle wave = effect(kSoundShot)->handle;
    bank.setSoundVolume(kSoundShot, 1.0f);
    for (uint32_t start = 0; start < 2; ++start) {
        frameCounter = start;
        bank.playSound(kSoundShot);
        bank.playSound(kSoundShot);  // the same frame: one start
        EXPECT_FALSE(effects().isPlaying(wave));
        frame();
        if (!effects().isPlaying(wave)) frame();
        EXPECT_TRUE(effects().isPlaying(wave)) << "requested on frame " << start;
        EXPECT_EQ(effect(kSoundShot)->soundState, kIdle);
        // One voice at full volume, from the start.
        EXPECT_EQ(render(1)[0], 10000);
        effects().stop(wave);
    }

    bank.playSound(kSoundShot);
    frame();
    frame();
    bank.stopSound(kSoundShot);
    EXPECT_EQ(effect(kSoundShot)->soundState, kStopRequested);
    frame();
    frame();
    EXPECT_FALSE(effects().isPlaying(wave));
}

TEST_F(SoundBankTest, EffectVolumeSettingAndSilence) {
    ASSERT_TRUE(bank.loadEffect("./sound/shot.wav", kSoundShot));
    ASSERT_TRUE(bank.loadMusic("./sound/title.ogg", kMusicTitle));
    bank.setAllEffectVolume(0.85f);
    EXPECT_EQ(effect(kSoundShot)->volume, -1499);
    EXPECT_EQ(tune(kMusicTitle)->volume, 1.0f);  // effects only
    bank.setSoundVolume(kSoundShot, 0.5f);
    EXPECT_EQ(effect(kSoundShot)->volume, -5000);
    // Out-of-range and broken values land on the ends.
    bank.setSoundVolume(kSoundShot, 7.0f);
    EXPECT_EQ(effect(kSoundShot)->volume, 0);
    bank.setSoundVolume(kSoundShot, -3.0f);
    EXPECT_EQ(effect(kSoundShot)->volume, -10000);
    bank.setSoundVolume(kSoundShot, std::nanf(""));
    EXPECT_EQ(effect(kSoundShot)->volume, -10000);

    // Silencing the effects stops the ones playing.
    bank.setSoundVolume(kSoundShot, 1.0f);
    bank.playSound(kSoundShot);
    bank.soundStep();
    ASSERT_TRUE(effects().isPlaying(effect(kSoundShot)->handle));
    bank.setAllEffectVolume(0.0f);
    EXPECT_EQ(effect(kSoundShot)->soundState, kStopRequested);
    bank.soundStep();
    EXPECT_FALSE(effects().isPlaying(effect(kSoundShot)->handle));

    bank.setAllMusicVolume(0.25f);
    EXPECT_EQ(tune(kMusicTitle)->volume, 0.25f);
    EXPECT_EQ(effect(kSoundShot)->volume, -10000);
}

TEST_F(SoundBankTest, StoppedTuneFadesOverASecondAndReplaysSilently) {
    ASSERT_TRUE(bank.loadMusic("./sound/title.ogg", kMusicTitle));
    BGM* title = tune(kMusicTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->soundState, kIdle);
    bank.setSoundVolume(kMusicTitle, 1.0f);
    bank.playSound(kMusicTitle);
    bank.soundStep();
    EXPECT_EQ(title->soundState, kPlaying);
    EXPECT_GT(test::rmsLeft(render(4410), 0, 4410), 8000);

    bank.stopSound(kMusicTitle);
    bank.soundStep();
    EXPECT_EQ(title->soundState, kIdle);
    EXPECT_EQ(title->volume, 0.0f);
    auto out = render(kRate);
    EXPECT_GT(test::rmsLeft(out, 0, 4410), 6000);
    EXPECT_LT(test::rmsLeft(out, kRate - 4410, 4410), 1200);
    EXPECT_FALSE(title->vox->isPlaying());

    bank.playSound(kMusicTitle);
    bank.soundStep();
    EXPECT_TRUE(title->vox->isPlaying());
    EXPECT_EQ(test::rmsLeft(render(4410), 0, 4410), 0.0);
    // The volume set again is heard again.
    bank.setSoundVolume(kMusicTitle, 1.0f);
    EXPECT_GT(test::rmsLeft(render(4410), 0, 4410), 8000);
}

TEST_F(SoundBankTest, ReloadingAndUnloading) {
    ASSERT_TRUE(bank.loadMusic("./sound/title.ogg", kMusicBoss));
    EXPECT_TRUE(bank.loadMusic("./sound/boss.ogg", kMusicBoss));
    EXPECT_EQ(bank.mixer().voiceCount(), 1);
    // A failed load under a number in use leaves the number empty.
    EXPECT_FALSE(bank.loadMusic("./sound/boss2.ogg", kMusicBoss));
    EXPECT_EQ(bank.find(kMusicBoss), nullptr);
    EXPECT_EQ(bank.mixer().voiceCount(), 0);
    ASSERT_TRUE(bank.loadEffect("./sound/ok.wav", kSoundOk));
    EXPECT_FALSE(bank.loadEffect("./sound/none.wav", kSoundOk));
    EXPECT_EQ(bank.find(kSoundOk), nullptr);

    // A damaged effect file only keeps its number out.
    std::vector<uint8_t> bytes(100, 0xAB);
    ASSERT_TRUE(test::writeFile(dir.file("sound/bad.wav"), bytes));
    EXPECT_FALSE(bank.loadEffect("./sound/bad.wav", kSoundOk));

    ASSERT_TRUE(bank.loadEffect("./sound/ok.wav", kSoundOk));
    ASSERT_TRUE(bank.loadMusic("./sound/title.ogg", kMusicTitle));
    bank.unloadSound(kSoundOk);
    bank.unloadSound(kMusicTitle);
    // Nothing revives a sound to be removed.
    bank.playSound(kSoundOk);
    bank.stopSound(kMusicTitle);
    EXPECT_EQ(bank.find(kSoundOk)->soundState, kToBeRemoved);
    bank.soundStep();
    EXPECT_EQ(bank.find(kSoundOk), nullptr);
    EXPECT_EQ(bank.find(kMusicTitle), nullptr);
    EXPECT_EQ(bank.mixer().voiceCount(), 0);
    EXPECT_EQ(effects().waveCount(), 0);
}

TEST_F(SoundBankTest, RequestsWhileTheAudioThreadPulls) {
    std::atomic<bool> done{false};
    std::atomic<int> pulls{0};
    std::thread audio([&] {
        std::vector<int16_t> out(512 * 2);
        while (!done) {
            bank.mixer().render(out.data(), 512);
            ++pulls;
        }
    });
    for (int round = 0; round < 20; ++round) {
        bank.loadEffect("./sound/shot.wav", kSoundShot);
        bank.loadMusic(round % 2 ? "./sound/boss.ogg" : "./sound/title.ogg", kMusicBoss);
        bank.setAllMusicVolume(0.5f);
        bank.playSound(kSoundShot);
        bank.playSound(kMusicBoss);
        bank.soundStep();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        bank.stopSound(kMusicBoss);
        bank.soundStep();
        bank.unloadSound(kSoundShot);
        bank.soundStep();
    }
    done = true;
    audio.join();
    EXPECT_GT(pulls.load(), 0);
    EXPECT_EQ(bank.mixer().voiceCount(), 1);
}

}  // namespace
}  // namespace vg::SoundManager
