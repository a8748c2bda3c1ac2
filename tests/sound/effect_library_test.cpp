#include <gtest/gtest.h>

#include <vector>

#include "sound/EffectLibrary.h"
#include "sound/Mixer.h"
#include "tests/sound/AudioFixtures.h"

namespace vg {
namespace {

// A library on a mixer rendered by hand, with a folder for its files.
class EffectLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(library.init(test::ManualAudioDevice())); }

    // A constant mono wave of `frames` frames at `value`.
    WaveHandle loadConstant(int16_t value, int frames, int rate = 44100) {
        const std::string path = dir.file("c" + std::to_string(counter++) + ".wav");
        EXPECT_TRUE(test::writeWav16(path, 1, rate, std::vector<int16_t>(frames, value)));
        WaveHandle handle = 0;
        EXPECT_TRUE(library.loadWave(path.c_str(), &handle));
        return handle;
    }

    std::vector<int16_t> render(int frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        mixer.render(out.data(), frames);
        return out;
    }

    test::TempDir dir;
    Mixer mixer;
    EffectLibrary library{mixer};
    int counter = 0;
};

TEST(EffectLibraryNoDeviceTest, InitFailsAndLoadsFailWithoutADevice) {
    test::TempDir dir;
    const std::string path = dir.file("a.wav");
    ASSERT_TRUE(test::writeWav16(path, 1, 44100, {1, 2, 3}));
    Mixer mixer;
    EffectLibrary library(mixer);
    EXPECT_FALSE(library.init(NullAudioDevice()));
    WaveHandle handle = 7;
    EXPECT_FALSE(library.loadWave(path.c_str(), &handle));
    EXPECT_EQ(handle, 0u);
    // Calls with a handle that names nothing are ignored.
    library.start(handle, 0);
    library.setVolume(42, 0);
    EXPECT_FALSE(library.isPlaying(42));
}

TEST_F(EffectLibraryTest, VolumeIsInHundredthsOfADecibel) {
    EXPECT_EQ(EffectLibrary::gainFor(0), 65536);
    EXPECT_EQ(EffectLibrary::gainFor(-10000), 0);
    EXPECT_EQ(EffectLibrary::gainFor(-20000), 0);
    EXPECT_EQ(EffectLibrary::gainFor(500), 65536);
    // -6 dB is about half, -20 dB a tenth.
    EXPECT_NEAR(EffectLibrary::gainFor(-600), 32845, 1);
    EXPECT_NEAR(EffectLibrary::gainFor(-2000), 6554, 1);

    const WaveHandle wave = loadConstant(20000, 1000);
    library.setVolume(wave, -2000);
    library.start(wave, 0);
    auto out = render(10);
    EXPECT_NEAR(out[0], 2000, 1);
    EXPECT_EQ(out[0], out[1]);
    library.setVolume(wave, -10000);
    out = render(10);
    EXPECT_EQ(out[0], 0);
    EXPECT_TRUE(library.isPlaying(wave));
}

TEST_F(EffectLibraryTest, PlaysOnceRestartsOnStartAndStops) {
    // A ramp shows the play position in the output.
    std::vector<int16_t> ramp(100);
    for (int i = 0; i < 100; ++i) ramp[i] = static_cast<int16_t>(i * 10);
    const std::string path = dir.file("ramp.wav");
    ASSERT_TRUE(test::writeWav16(path, 1, 44100, ramp));
    WaveHandle wave = 0;
    ASSERT_TRUE(library.loadWave(path.c_str(), &wave));
    EXPECT_FALSE(library.isPlaying(wave));
    EXPECT_EQ(render(5)[0], 0);

    library.start(wave, 0);
    auto out = render(40);
    EXPECT_EQ(out[39 * 2], 390);
    library.start(wave, 0);  // restarts, one voice
    out = render(100);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[99 * 2], 990);
    EXPECT_FALSE(library.isPlaying(wave));
    EXPECT_EQ(render(1)[0], 0);

    library.start(wave, 0);
    render(10);
    library.stop(wave);
    EXPECT_EQ(render(1)[0], 0);
    // reset rewinds without starting; a start then plays from the beginning.
    library.reset(wave);
    EXPECT_FALSE(library.isPlaying(wave));
    library.start(wave, 0);
    EXPECT_EQ(render(2)[2], 10);

    library.start(wave, EffectLibrary::kLoop);
    out = render(150);
    EXPECT_EQ(out[120 * 2], 200);
    EXPECT_TRUE(library.isPlaying(wave));

    library.unloadWave(wave);
    EXPECT_EQ(library.waveCount(), 0);
    EXPECT_EQ(render(1)[0], 0);
}

TEST_F(EffectLibraryTest, VoicesAreSummedAndClipped) {
    const WaveHandle a = loadConstant(20000, 100);
    const WaveHandle b = loadConstant(1000, 100);
    const WaveHandle c = loadConstant(-30000, 100);
    library.start(a, 0);
    library.start(b, 0);
    EXPECT_EQ(render(1)[0], 21000);
    const WaveHandle d = loadConstant(20000, 100);
    library.start(d, 0);
    EXPECT_EQ(render(1)[0], 32767);
    library.stop(a);
    library.stop(b);
    library.stop(d);
    library.start(c, 0);
    library.start(loadConstant(-30000, 100), 0);
    EXPECT_EQ(render(1)[1], -32768);
}

TEST_F(EffectLibraryTest, WaveAtAnotherRateRendersAtTheRightPitch) {
    const std::string path = dir.file("tone.wav");
    ASSERT_TRUE(test::writeWav16(path, 2, 22050, test::sine16(22050, 441.0, 22050, 2)));
    WaveHandle wave = 0;
    ASSERT_TRUE(library.loadWave(path.c_str(), &wave));
    library.start(wave, 0);
    const auto out = render(44100 + 100);
    EXPECT_NEAR(test::upCrossingsLeft(out, 0, 44100), 441, 1);
    EXPECT_EQ(test::rmsLeft(out, 44100, 100), 0.0);
}

TEST_F(EffectLibraryTest, TermUnloadsEverythingAndRefusesLoads) {
    loadConstant(100, 10);
    loadConstant(100, 10);
    EXPECT_EQ(mixer.voiceCount(), 2);
    library.term();
    EXPECT_EQ(mixer.voiceCount(), 0);
    WaveHandle handle = 0;
    const std::string path = dir.file("c0.wav");
    EXPECT_FALSE(library.loadWave(path.c_str(), &handle));
}

}  // namespace
}  // namespace vg
