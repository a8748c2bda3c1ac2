#include <gtest/gtest.h>

#include <unistd.h>
#include <zlib.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/TaskArena.h"
#include "resources/DIB.h"
#include "resources/DIBSection.h"
#include "resources/Package.h"
#include "resources/Png.h"
#include "tests/resources/TestFiles.h"

namespace vg {
namespace {

using testing::encodePng;
using testing::readBytes;
using testing::readPngRaw;
using testing::TempFolder;
using testing::TestPicture;
using testing::writeBytes;

// A 3 x 2 RGB picture whose pixels all differ; row 0 is the top.
TestPicture rgbPicture(int bitDepth = 8, bool interlaced = false) {
    TestPicture picture;
    picture.width = 3;
    picture.height = 2;
    picture.bitDepth = bitDepth;
    picture.interlaced = interlaced;
    for (uint32_t y = 0; y < 2; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t x = 0; x < 3; ++x) {
            const uint8_t rgb[3] = {uint8_t(10 + x * 40 + y), uint8_t(100 + x + y * 50),
                                    uint8_t(200 + x * 10 + y)};
            for (uint8_t channel : rgb) {
                row.push_back(channel);
                // 16-bit samples: the high byte is what survives, the low byte is noise.
                if (bitDepth == 16) row.push_back(uint8_t(0x5A ^ channel));
            }
        }
        picture.rows.push_back(row);
    }
    return picture;
}

uint32_t expectedRgb(uint32_t x, uint32_t y) {
    return (uint32_t(10 + x * 40 + y) << 16) | (uint32_t(100 + x + y * 50) << 8) |
           uint32_t(200 + x * 10 + y);
}

bool decode(const std::vector<uint8_t>& bytes, DIB& image) {
    return decodePngMemory(bytes.size(), bytes.data(), image);
}

TEST(DibTest, CreateZeroFillsAndBadSizesLeaveTheSurfaceAsItWas) {
    DIB dib;
    ASSERT_TRUE(dib.create(4, 3));
    EXPECT_EQ(dib.width, 4);
    EXPECT_EQ(dib.height, 3);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(dib.pixels[i], 0u);
    dib.pixels[0] = 0x12345678;
    uint32_t* before = dib.pixels;
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {5, -2}, {0x7FFFFFFF, 0x7FFFFFFF}}) {
        EXPECT_FALSE(dib.create(w, h));
        EXPECT_EQ(dib.pixels, before);
        EXPECT_EQ(dib.width, 4);
        EXPECT_EQ(dib.height, 3);
        EXPECT_EQ(dib.pixels[0], 0x12345678u);
    }
    // The top-left pixel is word (height - 1) * width.
    EXPECT_EQ(dib.pixelAt(0, 0), dib.pixels + 2 * 4);
    dib.release();
    EXPECT_EQ(dib.pixels, nullptr);
    EXPECT_EQ(dib.width, 0);
    EXPECT_EQ(dib.height, 0);

    DIBSection screen;
    EXPECT_EQ(screen.width, 512);
    EXPECT_EQ(screen.height, 384);
    EXPECT_FALSE(screen.create(0, 384));
    EXPECT_EQ(screen.width, 512);
    EXPECT_NE(screen.pixels, nullptr);
}

TEST(PngDecodeTest, RgbLoadsBottomUpWithHighByteZero) {
    // Plain, interlaced, and 16-bit channels cut to 8: all give the same picture.
    for (auto [depth, interlaced] : {std::pair{8, false}, {8, true}, {16, false}}) {
        SCOPED_TRACE(::testing::Message() << depth << (interlaced ? " interlaced" : ""));
        DIB image;
        ASSERT_TRUE(decode(encodePng(rgbPicture(depth, interlaced)), image));
        ASSERT_EQ(image.width, 3);
        ASSERT_EQ(image.height, 2);
        for (uint32_t y = 0; y < 2; ++y) {
            for (uint32_t x = 0; x < 3; ++x) EXPECT_EQ(*image.pixelAt(x, y), expectedRgb(x, y));
        }
        // Top-left pixel at word (height - 1) * width: the rows are stored bottom-up.
        EXPECT_EQ(image.pixels[1 * 3 + 0], expectedRgb(0, 0));
        EXPECT_EQ(image.pixels[0], expectedRgb(0, 1));
    }
}

TEST(PngDecodeTest, RgbaAndGreyAlphaKeepTheirAlpha) {
    TestPicture rgba;
    rgba.width = 2;
    rgba.colorType = PNG_COLOR_TYPE_RGBA;
    rgba.rows = {{1, 2, 3, 0x80, 4, 5, 6, 0xFF}};
    DIB image;
    ASSERT_TRUE(decode(encodePng(rgba), image));
    EXPECT_EQ(*image.pixelAt(0, 0), 0x80010203u);
    EXPECT_EQ(*image.pixelAt(1, 0), 0xFF040506u);

    TestPicture greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {{0x40, 0x11, 0xC0, 0x00}};
    ASSERT_TRUE(decode(encodePng(greyAlpha), image));
    EXPECT_EQ(*image.pixelAt(0, 0), 0x11404040u);
    EXPECT_EQ(*image.pixelAt(1, 0), 0x00C0C0C0u);
}

TEST(PngDecodeTest, PaletteGetsAlphaOnlyFromATransparencyChunk) {
    TestPicture palette;
    palette.width = 4;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 8, 7}};
    palette.rows = {{0, 1, 2, 3}};
    DIB image;
    ASSERT_TRUE(decode(encodePng(palette), image));
    EXPECT_EQ(*image.pixelAt(0, 0), 0x00FF0000u);
    EXPECT_EQ(*image.pixelAt(1, 0), 0x0000FF00u);
    EXPECT_EQ(*image.pixelAt(2, 0), 0x000000FFu);
    EXPECT_EQ(*image.pixelAt(3, 0), 0x00090807u);

    // Entries beyond the transparency list are opaque.
    palette.transparency = {0, 0x7F};
    ASSERT_TRUE(decode(encodePng(palette), image));
    EXPECT_EQ(*image.pixelAt(0, 0), 0x00FF0000u);
    EXPECT_EQ(*image.pixelAt(1, 0), 0x7F00FF00u);
    EXPECT_EQ(*image.pixelAt(2, 0), 0xFF0000FFu);
    EXPECT_EQ(*image.pixelAt(3, 0), 0xFF090807u);

    // A 4-bit palette expands the same way.
    palette.bitDepth = 4;
    palette.transparency.clear();
    palette.rows = {{0x01, 0x23}};
    ASSERT_TRUE(decode(encodePng(palette), image));
    EXPECT_EQ(*image.pixelAt(1, 0), 0x0000FF00u);
    EXPECT_EQ(*image.pixelAt(3, 0), 0x00090807u);
}

TEST(PngDecodeTest, GreyOfEveryDepthBecomesRgb) {
    struct Case {
        int depth;
        std::vector<uint8_t> row;       // packed samples, 4 pixels
        std::vector<uint8_t> expected;  // 8-bit grey of each pixel
    };
    const std::vector<Case> cases = {
        {1, {0b1010'0000}, {255, 0, 255, 0}},
        {2, {0b00'01'10'11}, {0, 85, 170, 255}},
        {4, {0x0F, 0x73}, {0, 255, 7 * 17, 3 * 17}},
        {8, {0, 17, 200, 255}, {0, 17, 200, 255}},
        {16, {0x12, 0xFF, 0x34, 0x00, 0xAB, 0xCD, 0xFF, 0xFF}, {0x12, 0x34, 0xAB, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        TestPicture grey;
        grey.width = 4;
        grey.bitDepth = c.depth;
        grey.colorType = PNG_COLOR_TYPE_GRAY;
        grey.rows = {c.row};
        DIB image;
        ASSERT_TRUE(decode(encodePng(grey), image));
        for (uint32_t x = 0; x < 4; ++x) {
            const uint32_t v = c.expected[x];
            EXPECT_EQ(*image.pixelAt(x, 0), (v << 16) | (v << 8) | v);
        }
    }

    // A grey key in a transparency chunk becomes alpha.
    TestPicture keyed;
    keyed.width = 2;
    keyed.colorType = PNG_COLOR_TYPE_GRAY;
    keyed.greyKey = true;
    keyed.rows = {{0, 9}};
    DIB image;
    ASSERT_TRUE(decode(encodePng(keyed), image));
    EXPECT_EQ(*image.pixelAt(0, 0), 0x00000000u);
    EXPECT_EQ(*image.pixelAt(1, 0), 0xFF090909u);
}

// Replaces the CRC of the first chunk of `type`.
void breakCrc(std::vector<uint8_t>& png, const char* type) {
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                                uint32_t(png[at + 2]) << 8 | png[at + 3];
        if (std::memcmp(&png[at + 4], type, 4) == 0) {
            png[at + 8 + length] ^= 0xFF;
            return;
        }
        at += 12 + length;
    }
    FAIL() << "no chunk " << type;
}

TEST(PngDecodeTest, DamagedStreamsFailWithoutReadingOutside) {
    const std::vector<uint8_t> good = encodePng(rgbPicture());
    DIB image;
    EXPECT_FALSE(decodePngMemory(0, nullptr, image));
    EXPECT_FALSE(decodePngMemory(7, good.data(), image));

    std::vector<uint8_t> badSignature = good;
    badSignature[1] = 'Q';
    EXPECT_FALSE(decode(badSignature, image));

    for (const char* chunk : {"IHDR", "IDAT"}) {
        SCOPED_TRACE(chunk);
        std::vector<uint8_t> badCrc = good;
        breakCrc(badCrc, chunk);
        EXPECT_FALSE(decode(badCrc, image));
    }
    // An ancillary chunk's checksum counts too: a damaged transparency chunk is not dropped.
    TestPicture palette;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{1, 2, 3}};
    palette.transparency = {0};
    palette.rows = {{0}};
    std::vector<uint8_t> badTransparency = encodePng(palette);
    ASSERT_TRUE(decode(badTransparency, image));
    breakCrc(badTransparency, "tRNS");
    EXPECT_FALSE(decode(badTransparency, image));

    // Every cut of the stream fails; each prefix is copied into a buffer of exactly its size
    // so that a read past the end would be caught by the address sanitizer.
    for (size_t length = 0; length + 12 < good.size(); ++length) {
        std::vector<uint8_t> prefix(good.begin(), good.begin() + static_cast<ptrdiff_t>(length));
        EXPECT_FALSE(decode(prefix, image)) << length;
    }
}

TEST(PngDecodeTest, OversizedHeaderFailsAndLeavesTheTargetAlone) {
    DIB image;
    ASSERT_TRUE(image.create(2, 2));
    image.pixels[0] = 0xABCDEF;
    for (auto [w, h] : {std::pair{100000u, 100000u}, {1u << 24, 2u}, {0x7FFFFFFFu, 1u}}) {
        // A one-pixel picture whose header is then patched to claim the size.
        TestPicture huge;
        huge.colorType = PNG_COLOR_TYPE_GRAY;
        huge.rows = {{0}};
        std::vector<uint8_t> bytes = encodePng(huge);
        for (int i = 0; i < 4; ++i) {
            bytes[16 + i] = uint8_t(w >> (24 - 8 * i));
            bytes[20 + i] = uint8_t(h >> (24 - 8 * i));
        }
        // Keep the header's CRC right so that the size is what gets refused.
        const uint32_t crc = static_cast<uint32_t>(crc32(0, &bytes[12], 17));
        for (int i = 0; i < 4; ++i) bytes[29 + i] = uint8_t(crc >> (24 - 8 * i));
        EXPECT_FALSE(decode(bytes, image));
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.pixels[0], 0xABCDEFu);
    }
}

TEST(PngFileTest, ScreenshotRoundTripsTopRowFirst) {
    TempFolder folder("resources");
    DIBSection screen;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            *screen.pixelAt(x, y) = 0xEE000000u | uint32_t(x & 0xFF) << 16 |
                                    uint32_t(y & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
        }
    }
    const std::string path = folder.file("shot.png");
    ASSERT_TRUE(savePng(path.c_str(), screen));

    const testing::PngHeader raw = readPngRaw(path);
    EXPECT_EQ(raw.width, 512u);
    EXPECT_EQ(raw.height, 384u);
    EXPECT_EQ(raw.bitDepth, 8);
    EXPECT_EQ(raw.colorType, PNG_COLOR_TYPE_RGB);
    ASSERT_EQ(raw.rows.size(), 384u);
    // The file's first row is the screen's top row, red first.
    EXPECT_EQ(raw.rows[0][3 * 5 + 0], 5);
    EXPECT_EQ(raw.rows[0][3 * 5 + 1], 0);
    EXPECT_EQ(raw.rows[2][3 * 5 + 1], 2);

    DIB loaded;
    ASSERT_TRUE(decodePngFile(path.c_str(), loaded));
    ASSERT_EQ(loaded.width, 512);
    ASSERT_EQ(loaded.height, 384);
    for (int y = 0; y < 384; ++y) {
        for (int x = 0; x < 512; ++x) {
            ASSERT_EQ(*loaded.pixelAt(x, y), *screen.pixelAt(x, y) & 0xFFFFFF) << x << "," << y;
        }
    }
}

TEST(PngFileTest, SaveAndFileDecodeFailuresAreResults) {
    TempFolder folder("resources");
    DIB empty;
    DIB one;
    ASSERT_TRUE(one.create(1, 1));
    EXPECT_FALSE(savePng(folder.file("empty.png").c_str(), empty));
    EXPECT_FALSE(std::filesystem::exists(folder.file("empty.png")));
    EXPECT_FALSE(savePng(nullptr, one));
    EXPECT_FALSE(savePng(folder.file("no/folder/x.png").c_str(), one));
    if (access("/dev/full", W_OK) == 0) {
        EXPECT_FALSE(savePng("/dev/full", one));
    }

    DIB image;
    EXPECT_FALSE(decodePngFile(folder.file("absent.png").c_str(), image));
    EXPECT_FALSE(decodePngFile(nullptr, image));
    const std::vector<uint8_t> good = encodePng(rgbPicture());
    const std::string cut = folder.file("cut.png");
    writeBytes(cut, std::vector<uint8_t>(good.begin(), good.end() - 20));
    EXPECT_FALSE(decodePngFile(cut.c_str(), image));
    const std::string text = folder.file("text.png");
    writeBytes(text, {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
    EXPECT_FALSE(decodePngFile(text.c_str(), image));
}

TEST(LoadImageTest, PackageEntryFirstThenLooseFile) {
    TempFolder folder("resources");
    // Loose files are looked for in the working folder.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());

    TestPicture packed = rgbPicture();
    TestPicture loose;
    loose.width = 5;
    loose.height = 1;
    loose.rows = {std::vector<uint8_t>(15, 0x33)};
    writeBytes("ship.png", encodePng(loose));
    writeBytes("item.png", encodePng(loose));
    {
        const std::vector<uint8_t> bytes = encodePng(packed);
        PackageWriter writer;
        ASSERT_TRUE(writer.createPackage("data.pck"));
        ASSERT_TRUE(writer.writeEntry(bytes.data(), uint32_t(bytes.size()), "ship.png"));
        ASSERT_TRUE(writer.writeEntry("not a png", 9, "broken.png"));
        ASSERT_TRUE(writer.closePackage());
    }

    TaskArena scratch(0x400010);
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage("data.pck"));
    DIB image;
    ASSERT_TRUE(loadImage("ship.png", reader, scratch, image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(*image.pixelAt(2, 1), expectedRgb(2, 1));
    EXPECT_EQ(scratch.bytesInUse(), 0u);
    // Not in the package: the loose file.
    ASSERT_TRUE(loadImage("item.png", reader, scratch, image));
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(*image.pixelAt(4, 0), 0x333333u);
    // Neither: false, and the slot keeps its picture.
    EXPECT_FALSE(loadImage("enemy.png", reader, scratch, image));
    EXPECT_EQ(image.width, 5);
    // A damaged entry fails without touching the picture (the signature is refused first).
    EXPECT_FALSE(loadImage("broken.png", reader, scratch, image));
    EXPECT_EQ(image.width, 5);

    // An arena too small for the entry: the heap takes over.
    TaskArena tiny(64);
    ASSERT_TRUE(loadImage("ship.png", reader, tiny, image));
    EXPECT_EQ(image.width, 3);

    // With the package missing every image is a loose file.
    reader.closePackage();
    EXPECT_FALSE(reader.openPackage("missing.pck"));
    ASSERT_TRUE(loadImage("ship.png", reader, scratch, image));
    EXPECT_EQ(image.width, 5);

    std::filesystem::current_path(previous);
}

TEST(ScreenshotNameTest, FollowsTheCaptureFormat) {
    EXPECT_EQ(screenshotFileName(LocalTime{2026, 3, 7, 9, 5, 4, 12}), "cap20260307_9504_012.png");
    EXPECT_EQ(screenshotFileName(LocalTime{2026, 12, 31, 23, 59, 58, 999}),
              "cap20261231_235958_999.png");
}

}  // namespace
}  // namespace vg
