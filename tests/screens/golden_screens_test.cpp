// Golden screenshots of the logo, the title at each cursor position, the options, the reset
// dialog, the key configuration and its key dialog, taken through the headless host and
// compared by hash. The pictures are also written to <build>/screens_shots for looking at.
// Set VG_UPDATE_GOLDEN=1 to store the current hashes after a deliberate change of the screens
// or of the art.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "ScreenFixture.h"
#include "tests/support/GoldenPictures.h"

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

using GoldenScreensTest = testing::ScreenTest;

TEST_F(GoldenScreensTest, ScreensLookAsStored) {
    if (!hasData()) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR << " (build with VG_DATA=ON)";
    testing::GoldenPictures pictures(kHashFile,
                                     std::filesystem::path(VG_BINARY_DIR) / "screens_shots");
    start(kSession);
    host->run(561, [&](uint32_t frame, const DIB& screen) {
        const auto shot = kShots.find(frame);
        if (shot != kShots.end()) pictures.take(shot->second, screen);
    });
    ASSERT_EQ(pictures.size(), kShots.size());
    pictures.check();
}

}  // namespace
}  // namespace vg
