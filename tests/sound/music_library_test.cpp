#include <gtest/gtest.h>

#include <vector>

#include "sound/Mixer.h"
#include "sound/MusicLibrary.h"
#include "tests/sound/AudioFixtures.h"

namespace vg {
namespace {

constexpr int kRate = 44100;

class MusicLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override { mixer.setOutputAvailable(true); }

    std::unique_ptr<Vox> openTune(const std::string& path) {
        MusicLibrary* library = MusicLibrary::load();
        EXPECT_NE(library, nullptr);
        auto vox = library->createVox(mixer);
        EXPECT_TRUE(vox->open(path.c_str())) << path;
        return vox;
    }

    // A stereo tone file of `seconds`, written once per name.
    std::string toneFile(const std::string& name, double seconds, int rate = kRate,
                         int channels = 2) {
        const std::string path = dir.file(name);
        const int frames = static_cast<int>(seconds * rate);
        EXPECT_TRUE(
            test::writeOgg(path, channels, rate, test::sineFloat(rate, 441.0, frames, channels)));
        return path;
    }

    std::vector<int16_t> render(int frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        mixer.render(out.data(), frames);
        return out;
    }

    test::TempDir dir;
    Mixer mixer;
};

TEST_F(MusicLibraryTest, OpenFailsWithoutOutputOrWithABadFile) {
    const std::string good = toneFile("good.ogg", 0.2);
    ASSERT_TRUE(test::writeWav16(dir.file("notogg.ogg"), 1, kRate, {1, 2, 3, 4}));
    auto vox = MusicLibrary::load()->createVox(mixer);
    EXPECT_FALSE(vox->open(dir.file("missing.ogg").c_str()));
    EXPECT_FALSE(vox->open(dir.file("notogg.ogg").c_str()));
    EXPECT_FALSE(vox->isOpen());
    // A failed tune ignores every call.
    vox->play();
    vox->fade(1, 0, 100);
    EXPECT_FALSE(vox->isPlaying());
    EXPECT_EQ(mixer.voiceCount(), 0);

    mixer.setOutputAvailable(false);
    EXPECT_FALSE(vox->open(good.c_str()));
    mixer.setOutputAvailable(true);
    EXPECT_TRUE(vox->open(good.c_str()));
    EXPECT_EQ(mixer.voiceCount(), 1);
    vox.reset();
    EXPECT_EQ(mixer.voiceCount(), 0);
    EXPECT_EQ(MusicLibrary::load(), MusicLibrary::load());
}

TEST_F(MusicLibraryTest, PlaysAtTheRightPitchAndVolumeFromAnyRate) {
    for (int rate : {kRate, 22050, 48000}) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(rate * 10 + channels);
            auto vox = openTune(toneFile("tone" + std::to_string(rate * 10 + channels) + ".ogg",
                                         1.2, rate, channels));
            EXPECT_EQ(test::rmsLeft(render(1000), 0, 1000), 0.0);  // opened stopped
            vox->play();
            auto out = render(kRate);
            EXPECT_NEAR(test::upCrossingsLeft(out, 0, kRate), 441, 2);
            // A 0.5 sine has an RMS of 0.354 of full scale.
            const double full = test::rmsLeft(out, 1000, 20000);
            EXPECT_NEAR(full, 0.3536 * 32768, 600);
            vox->setVolume(0.5f);
            out = render(4410);
            EXPECT_NEAR(test::rmsLeft(out, 0, 4410), full / 2, 300);
            vox->stop();
            EXPECT_EQ(test::rmsLeft(render(100), 0, 100), 0.0);
        }
    }
}

TEST_F(MusicLibraryTest, FadeIsLinearAndEndsAtItsTarget) {
    auto vox = openTune(toneFile("fade.ogg", 3.0));
    vox->setLoop(Vox::kLoopForever);
    vox->play();
    render(2000);
    vox->fade(1.0f, 0.0f, 1000);
    // Tenths of the second: the level falls by about a tenth of full each time.
    const auto out = render(kRate + 4410);
    const double full = 0.3536 * 32768;
    for (int tenth = 0; tenth < 10; ++tenth) {
        const double expected = full * (1.0 - (tenth + 0.5) / 10.0);
        EXPECT_NEAR(test::rmsLeft(out, static_cast<size_t>(tenth) * 4410, 4410), expected, 350)
            << "tenth " << tenth;
    }
    EXPECT_EQ(test::rmsLeft(out, kRate, 4410), 0.0);
    EXPECT_EQ(vox->volume(), 0.0f);
    EXPECT_FALSE(vox->isPlaying());

    // A fade up ends exactly on its target and keeps playing.
    vox->play();
    vox->fade(0.0f, 0.5f, 100);
    render(kRate / 10 + 10);
    EXPECT_EQ(vox->volume(), 0.5f);
    EXPECT_TRUE(vox->isPlaying());
    // Setting the volume ends a fade at once.
    vox->fade(0.5f, 1.0f, 1000);
    vox->setVolume(0.25f);
    render(1000);
    EXPECT_EQ(vox->volume(), 0.25f);
}

TEST_F(MusicLibraryTest, LoopsFromTheStartOrFromTheLoopPointOrPlaysOnce) {
    // Half a second of silence, then half a second of tone.
    std::vector<float> samples = test::sineFloat(kRate, 441.0, kRate);
    std::fill(samples.begin(), samples.begin() + kRate, 0.0f);
    ASSERT_TRUE(test::writeOgg(dir.file("plain.ogg"), 2, kRate, samples));
    ASSERT_TRUE(test::writeOgg(dir.file("looped.ogg"), 2, kRate, samples, kRate / 2));
    ASSERT_TRUE(test::writeOgg(dir.file("badloop.ogg"), 2, kRate, samples, 10 * kRate));

    const double tone = 0.3536 * 32768;
    // Spans of a tenth of a second over the second and third passes.
    auto loud = [&](const std::vector<int16_t>& out, double second) {
        return test::rmsLeft(out, static_cast<size_t>(second * kRate), kRate / 10) > tone / 2;
    };

    auto plain = openTune(dir.file("plain.ogg"));
    EXPECT_EQ(plain->loopStart(), 0);
    plain->setLoop(Vox::kLoopForever);
    plain->play();
    auto out = render(3 * kRate);
    EXPECT_FALSE(loud(out, 1.1));
    EXPECT_TRUE(loud(out, 1.7));
    EXPECT_FALSE(loud(out, 2.1));
    EXPECT_TRUE(plain->isPlaying());
    plain.reset();

    auto looped = openTune(dir.file("looped.ogg"));
    EXPECT_EQ(looped->loopStart(), kRate / 2);
    looped->setLoop(Vox::kLoopForever);
    looped->play();
    out = render(3 * kRate);
    EXPECT_FALSE(loud(out, 0.2));
    for (double t : {0.7, 1.1, 1.3, 1.7, 2.1, 2.6}) EXPECT_TRUE(loud(out, t)) << t;
    looped.reset();

    // A loop point past the end is ignored.
    EXPECT_EQ(openTune(dir.file("badloop.ogg"))->loopStart(), 0);

    // Not looped: plays once, stops, and plays again from the start.
    auto once = openTune(dir.file("looped.ogg"));
    once->play();
    out = render(kRate + 2000);
    EXPECT_TRUE(loud(out, 0.7));
    EXPECT_FALSE(once->isPlaying());
    EXPECT_EQ(test::rmsLeft(out, kRate + 100, 1000), 0.0);
    once->play();
    out = render(kRate);
    EXPECT_FALSE(loud(out, 0.2));
    EXPECT_TRUE(loud(out, 0.7));
}

TEST_F(MusicLibraryTest, SetPositionJumps) {
    std::vector<float> samples = test::sineFloat(kRate, 441.0, kRate);
    std::fill(samples.begin(), samples.begin() + kRate, 0.0f);
    ASSERT_TRUE(test::writeOgg(dir.file("jump.ogg"), 2, kRate, samples));
    auto vox = openTune(dir.file("jump.ogg"));
    vox->setPosition(0.6f);
    vox->play();
    EXPECT_GT(test::rmsLeft(render(4410), 0, 4410), 5000);
    vox->setPosition(0.0f);
    EXPECT_LT(test::rmsLeft(render(4410), 0, 4410), 500);
    // Out of range positions are clamped.
    vox->setPosition(-5.0f);
    vox->setPosition(1e30f);
    render(100);
    EXPECT_FALSE(vox->isPlaying());
}

TEST_F(MusicLibraryTest, DamagedTunesPlayWhatTheyCanWithoutHanging) {
    const std::string good = toneFile("whole.ogg", 1.0);
    std::vector<uint8_t> bytes;
    {
        FILE* f = std::fopen(good.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        int c;
        while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(f);
    }
    // Cut in half, and scribbled over in the middle.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + bytes.size() / 2);
    std::vector<uint8_t> scribbled = bytes;
    for (size_t i = scribbled.size() / 3; i < scribbled.size() / 3 + 400; ++i) scribbled[i] ^= 0x5A;
    ASSERT_TRUE(test::writeFile(dir.file("cut.ogg"), cut));
    ASSERT_TRUE(test::writeFile(dir.file("scribbled.ogg"), scribbled));
    for (const char* name : {"cut.ogg", "scribbled.ogg"}) {
        SCOPED_TRACE(name);
        auto vox = MusicLibrary::load()->createVox(mixer);
        if (!vox->open(dir.file(name).c_str())) continue;  // refusing it is fine too
        vox->setLoop(Vox::kLoopForever);
        vox->play();
        const auto out = render(3 * kRate);
        EXPECT_GT(test::rmsLeft(out, 0, 4410), 5000);
    }
}

}  // namespace
}  // namespace vg
