// Golden screenshots of the logo, the title at each cursor position, the options, the reset
// dialog, the key configuration and its key dialog, taken through the headless host and
// compared by hash. The pictures are also written to <build>/screens_shots for looking at.
// Set VG_UPDATE_GOLDEN=1 to store the current hashes after a deliberate change of the screens
// or of the art.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "ScreenFixture.h"
#include "resources/Png.h"

namespace vg {
namespace {

const char* const kHashFile = VG_SOURCE_DIR "/tests/screens/golden_screens.hash";

// Frame of each screenshot of one scripted session, by name.
const std::map<uint32_t, std::string> kShots = {
    {100, "logo"},      {320, "title0"},           {330, "title1"},
    {340, "title2"},    {350, "title3"},           {360, "title4"},
    {370, "title5"},    {460, "options"},          {490, "options_default"},
    {530, "keyconfig"}, {550, "keyconfig_setkey"}, {560, "keyconfig_set"},
};

// No logo skip: the title acts from frame 185 and is fully shown from 310. Down through the
// items; Up to "Option"; there Up to "Default", confirm, cancel; Up to "KeyConfig", confirm;
// Down to "Left", confirm, then C.
const char* const kSession =
    "322 DOWN\n332 DOWN\n342 DOWN\n352 DOWN\n362 DOWN\n372 UP\n376 Z\n"
    "462 UP\n464 UP\n466 Z\n492 X\n496 UP\n500 Z\n532 DOWN\n534 DOWN\n538 Z\n555 C\n";

uint64_t hashPicture(const DIB& picture) {
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < picture.width * picture.height; ++i) {
        const uint32_t p = picture.pixels[i] & 0x00FFFFFFu;
        for (int k = 0; k < 3; ++k) hash = (hash ^ ((p >> (8 * k)) & 0xFF)) * 1099511628211ull;
    }
    return hash;
}

using GoldenScreensTest = testing::ScreenTest;

TEST_F(GoldenScreensTest, ScreensLookAsStored) {
    if (!hasData()) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR << " (build with VG_DATA=ON)";
    namespace fs = std::filesystem;
    const fs::path shots = fs::path(VG_BINARY_DIR) / "screens_shots";
    fs::create_directories(shots);
    std::map<std::string, std::string> hashes;
    start(kSession);
    host->run(561, [&](uint32_t frame, const DIB& screen) {
        const auto shot = kShots.find(frame);
        if (shot == kShots.end()) return;
        char text[32];
        std::snprintf(text, sizeof text, "%016llx",
                      static_cast<unsigned long long>(hashPicture(screen)));
        hashes[shot->second] = text;
        savePng((shots / (shot->second + ".png")).c_str(), screen);
    });
    ASSERT_EQ(hashes.size(), kShots.size());

    const char* update = std::getenv("VG_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream out(kHashFile);
        for (const auto& [name, hash] : hashes) out << name << " " << hash << "\n";
        GTEST_SKIP() << "stored the hashes in " << kHashFile;
    }
    std::map<std::string, std::string> stored;
    std::ifstream in(kHashFile);
    std::string name, hash;
    while (in >> name >> hash) stored[name] = hash;
    ASSERT_FALSE(stored.empty()) << "no stored hashes; run once with VG_UPDATE_GOLDEN=1";
    for (const auto& [shotName, shotHash] : hashes) {
        EXPECT_EQ(stored[shotName], shotHash) << shotName << " changed (see " << shots.string()
                                              << "); if on purpose, rerun with VG_UPDATE_GOLDEN=1";
    }
}

}  // namespace
}  // namespace vg
