#include <gtest/gtest.h>

#include <vector>

#include "sound/WavReader.h"
#include "tests/sound/AudioFixtures.h"

namespace vg {
namespace {

using test::putU16;
using test::putU32;

TEST(WavReaderTest, ReadsSixteenBitStereoAndEightBitMono) {
    const std::vector<int16_t> stereo = {100, -100, 32767, -32768, 0, 5};
    auto image = test::wavImage16(2, 44100, stereo);
    WavView wav;
    ASSERT_TRUE(parseWav(image.data(), image.size(), wav));
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.sampleRate, 44100);
    EXPECT_EQ(wav.frameCount, 3u);
    std::vector<int16_t> out;
    ASSERT_TRUE(convertWav(wav, 44100, out));
    EXPECT_EQ(out, stereo);

    // 8-bit samples are unsigned around 128; mono is copied to both channels.
    auto mono = test::wavImage(1, 44100, 8, {128, 255, 0});
    ASSERT_TRUE(parseWav(mono.data(), mono.size(), wav));
    ASSERT_TRUE(convertWav(wav, 44100, out));
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 32512, 32512, -32768, -32768}));
}

TEST(WavReaderTest, SkipsUnknownChunksAndAcceptsExtensiblePcm) {
    std::vector<uint8_t> b;
    test::putTag(b, "RIFF");
    putU32(b, 0);  // patched below
    test::putTag(b, "WAVE");
    test::putTag(b, "LIST");
    putU32(b, 3);  // odd size: one pad byte follows
    b.insert(b.end(), {1, 2, 3, 0});
    test::putTag(b, "fmt ");
    putU32(b, 40);
    putU16(b, 0xFFFE);
    putU16(b, 1);
    putU32(b, 8000);
    putU32(b, 16000);
    putU16(b, 2);
    putU16(b, 16);
    putU16(b, 22);
    putU16(b, 16);
    putU32(b, 4);
    const uint8_t pcmGuid[16] = {1,    0,    0,    0,    0,    0,    0x10, 0,
                                 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    b.insert(b.end(), pcmGuid, pcmGuid + 16);
    test::putTag(b, "data");
    putU32(b, 4);
    putU16(b, 1000);
    putU16(b, 2000);
    const uint32_t riff = static_cast<uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
    WavView wav;
    ASSERT_TRUE(parseWav(b.data(), b.size(), wav));
    EXPECT_EQ(wav.sampleRate, 8000);
    EXPECT_EQ(wav.frameCount, 2u);

    // The same with a float sub-format is refused.
    b[b.size() - 8 - 16] = 3;
    EXPECT_FALSE(parseWav(b.data(), b.size(), wav));
}

TEST(WavReaderTest, DamagedHeadersFail) {
    const auto good = test::wavImage16(1, 22050, {1, 2, 3, 4});
    WavView wav;
    ASSERT_TRUE(parseWav(good.data(), good.size(), wav));

    // Every truncation fails, the header's sizes then reaching past the end.
    for (size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(parseWav(good.data(), n, wav)) << "length " << n;
    }

    auto patched = [&](size_t offset, uint32_t value, int bytes) {
        auto b = good;
        for (int i = 0; i < bytes; ++i) b[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        return b;
    };
    struct Case {
        const char* what;
        size_t offset;
        uint32_t value;
        int bytes;
    };
    const Case cases[] = {
        {"RIFF size past the file", 4, 0x7FFFFFFF, 4},
        {"data size past the file", 40, 1000, 4},
        {"fmt size past the file", 16, 0xFFFFFFF0, 4},
        {"zero channels", 22, 0, 2},
        {"three channels", 22, 3, 2},
        {"compressed format", 20, 2, 2},
        {"float format", 20, 3, 2},
        {"24-bit samples", 34, 24, 2},
        {"block align not matching", 32, 4, 2},
        {"zero sample rate", 24, 0, 4},
        {"absurd sample rate", 24, 100000000, 4},
        {"not WAVE", 8, 0x45564157u ^ 1, 4},
    };
    for (const Case& c : cases) {
        auto bad = patched(c.offset, c.value, c.bytes);
        EXPECT_FALSE(parseWav(bad.data(), bad.size(), wav)) << c.what;
    }

    // No samples at all.
    auto empty = test::wavImage(1, 22050, 16, {});
    EXPECT_FALSE(parseWav(empty.data(), empty.size(), wav));
}

TEST(WavReaderTest, ResamplesToTheOutputRateAtTheSamePitch) {
    // 441 Hz at 22 050 Hz: one period is 100 frames at 44 100 Hz.
    const auto tone = test::sine16(22050, 441.0, 22050);
    auto image = test::wavImage16(1, 22050, tone);
    WavView wav;
    ASSERT_TRUE(parseWav(image.data(), image.size(), wav));
    std::vector<int16_t> out;
    ASSERT_TRUE(convertWav(wav, 44100, out));
    ASSERT_EQ(out.size(), 44100u * 2);
    EXPECT_NEAR(test::upCrossingsLeft(out, 0, 44100), 441, 1);
    // Interpolated frames sit between their neighbours, and source frames are kept exactly.
    EXPECT_EQ(out[2 * 2], tone[1]);
    EXPECT_EQ(out[3 * 2], static_cast<int16_t>(tone[1] + (tone[2] - tone[1]) / 2));
}

TEST(WavReaderTest, MissingFileFails) {
    std::vector<int16_t> out;
    EXPECT_FALSE(loadWavFile("/nonexistent/sound.wav", 44100, out));
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace vg
