// The built game data: every picture is an entry of data.pck that the game's own loader
// decodes at its atlas size, the fonts have a glyph for every printable character, and the
// data build gives the same bytes every time. Skipped when the game data was not built
// (-DVG_DATA=OFF).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AtlasCells.h"
#include "core/TaskArena.h"
#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

const std::string kPackagePath = std::string(VG_GAME_DIR) + "/data.pck";
const std::string kToolPath = std::string(VG_BINARY_DIR) + "/tools/databuild/vg_databuild";

bool loadPicture(const char* name, DIB& image) {
    PackageReader reader;
    if (!reader.openPackage(kPackagePath.c_str())) return false;
    if (!reader.findEntry(name)) return false;
    TaskArena scratch(0x400010);
    return loadImage(name, reader, scratch, image);
}

bool cellIsEmpty(const DIB& image, const atlas::Cell& cell, int32_t frame, uint32_t key) {
    for (int32_t y = 0; y < cell.h; ++y) {
        for (int32_t x = 0; x < cell.w; ++x) {
            uint32_t p = *image.pixelAt(cell.frameX(frame) + x, cell.frameY(frame) + y);
            if ((p & 0xFFFFFF) != key) return false;
        }
    }
    return true;
}

std::string readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class GameData : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(kPackagePath)) GTEST_SKIP() << "no game data built";
    }
};

TEST_F(GameData, EveryPictureDecodesAtItsAtlasSizeWithItsKeyTopLeft) {
    for (const atlas::Image& info : atlas::kImages) {
        DIB image;
        ASSERT_TRUE(loadPicture(info.file, image)) << info.file;
        EXPECT_EQ(image.width, info.width) << info.file;
        EXPECT_EQ(image.height, info.height) << info.file;
        EXPECT_EQ(*image.pixelAt(0, 0) & 0xFFFFFF, info.key) << info.file;
    }
}

TEST_F(GameData, FontsHaveAGlyphForEveryPrintableCharacterAndAnEmptySpace) {
    DIB frame;
    ASSERT_TRUE(loadPicture("frame.png", frame));
    uint32_t key = atlas::frame::kImage.key;
    for (const atlas::Cell& font : {atlas::frame::kMenuFont, atlas::frame::kSmallFont}) {
        EXPECT_TRUE(cellIsEmpty(frame, font, 0, key)) << "space must draw nothing";
        for (int32_t c = 0x21; c <= 0x7E; ++c) {
            EXPECT_FALSE(cellIsEmpty(frame, font, c - 0x20, key))
                << "font at y " << font.y << " has no glyph for '" << static_cast<char>(c) << "'";
        }
    }
    EXPECT_FALSE(cellIsEmpty(frame, atlas::frame::kEndMark, 0, key));
    for (int32_t digit = 0; digit < 10; ++digit) {
        EXPECT_FALSE(cellIsEmpty(frame, atlas::frame::kDigits, digit, key)) << digit;
        EXPECT_FALSE(cellIsEmpty(frame, atlas::frame::kComboDigits, digit, key)) << digit;
    }
}

// The bar is drawn through the ColorKey frame: its inside must be key-coloured, and its texture
// must repeat every 117 pixels or the scrolling bar jumps when its offset wraps.
TEST_F(GameData, BossGaugeFrameIsHollowAndItsBarTextureWraps) {
    DIB frame;
    ASSERT_TRUE(loadPicture("frame.png", frame));
    uint32_t key = atlas::frame::kImage.key;
    const atlas::Cell& gauge = atlas::frame::kBossGaugeFrame;
    for (int32_t y = 2; y < 10; ++y) {
        for (int32_t x = 3; x < gauge.w - 3; ++x) {
            ASSERT_EQ(*frame.pixelAt(gauge.x + x, gauge.y + y) & 0xFFFFFF, key) << x << "," << y;
        }
    }
    const atlas::Cell& bar = atlas::frame::kBossGaugeBar;
    for (int32_t y = 0; y < bar.h; ++y) {
        for (int32_t x = 0; x < bar.frames; ++x) {
            ASSERT_EQ(*frame.pixelAt(bar.x + x, bar.y + y) & 0xFFFFFF,
                      *frame.pixelAt(bar.x + x + bar.frames, bar.y + y) & 0xFFFFFF)
                << x << "," << y;
        }
    }
}

// The right side panel is the left one upside down: the windows behind the status text must
// be dark in both, or the additive digits wash out.
TEST_F(GameData, SidePanelIsDarkBehindTheStatusTextEitherWayUp) {
    DIB frame;
    ASSERT_TRUE(loadPicture("frame.png", frame));
    const atlas::Cell& panel = atlas::frame::kSidePanel;
    for (int32_t y : {30, 42, 72, 102, 132, 290, 320}) {
        for (int32_t row : {y, panel.h - 1 - y}) {
            for (int32_t x = 10; x < 126; x += 4) {
                uint32_t p = *frame.pixelAt(panel.x + x, panel.y + row);
                int32_t brightness = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
                EXPECT_LT(brightness, 3 * 0x30) << "row " << row << " column " << x;
            }
        }
    }
}

TEST_F(GameData, PackageEntriesAreSortedByName) {
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(kPackagePath.c_str()));
    const auto& entries = reader.entries();
    for (size_t i = 1; i < entries.size(); ++i) {
        EXPECT_LT(entries[i - 1].name, entries[i].name);
    }
}

// Two data builds from clean folders give byte-identical pictures and packages, equal to the
// pictures of the game's data.pck.
TEST_F(GameData, TheDataBuildIsDeterministic) {
    if (!fs::exists(kToolPath)) GTEST_SKIP() << "no data build tool";
    const std::string fonts = "/usr/share/fonts/truetype/dejavu";
    if (!fs::exists(fonts)) GTEST_SKIP() << "no typefaces";
    fs::path work = fs::temp_directory_path() / ("vg_databuild_test_" + std::to_string(getpid()));
    std::string packages[2];
    for (int run = 0; run < 2; ++run) {
        fs::path dir = work / std::to_string(run);
        fs::create_directories(dir);
        std::string packCommand = kToolPath + " pack " + (dir / "data.pck").string();
        for (const atlas::Image& info : atlas::kImages) {
            std::string png = (dir / info.file).string();
            std::string command = kToolPath + " image " + VG_SOURCE_DIR + "/assets/atlas " +
                                  info.file + " " + VG_SOURCE_DIR + "/assets/art " + fonts + " " +
                                  png;
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            packCommand += " " + png;
        }
        ASSERT_EQ(std::system(packCommand.c_str()), 0) << packCommand;
        packages[run] = readBytes((dir / "data.pck").string());
    }
    EXPECT_FALSE(packages[0].empty());
    EXPECT_TRUE(packages[0] == packages[1]) << "two builds differ";

    PackageReader built;
    PackageReader fresh;
    ASSERT_TRUE(built.openPackage(kPackagePath.c_str()));
    ASSERT_TRUE(fresh.openPackage((work / "0" / "data.pck").string().c_str()));
    for (const atlas::Image& info : atlas::kImages) {
        ASSERT_TRUE(built.findEntry(info.file) && fresh.findEntry(info.file)) << info.file;
        std::vector<char> a(built.entrySize());
        std::vector<char> b(fresh.entrySize());
        built.readEntry(static_cast<uint32_t>(a.size()), a.data());
        fresh.readEntry(static_cast<uint32_t>(b.size()), b.data());
        EXPECT_TRUE(a == b) << info.file << " differs from the built game data";
    }
    fs::remove_all(work);
}

}  // namespace
}  // namespace vg
