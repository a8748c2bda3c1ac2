// Golden screenshots of the pause menu, the continue countdown and the ship choice after it, the
// game over, name entry with a name half typed and the score table, taken through the headless host
// and compared by hash. The pictures are written to <build>/pause_shots for looking at. Set
// VG_UPDATE_GOLDEN=1 to store the current hashes after a deliberate change of the screens or of the
// art.
#include <filesystem>

#include "PauseFixture.h"
#include "tests/support/GoldenPictures.h"

namespace vg {
namespace {

const char* const kHashFile = VG_SOURCE_DIR "/tests/pause/golden_pause.hash";

class GoldenPauseTest : public testing::PauseTest {
  protected:
    void shoot(const std::string& name) { pictures.take(name, host->screen()); }
    testing::GoldenPictures pictures{kHashFile,
                                     std::filesystem::path(VG_BINARY_DIR) / "pause_shots"};
};

TEST_F(GoldenPauseTest, ScreensLookAsStored) {
    if (!hasData()) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR << " (build with VG_DATA=ON)";
    // The pause over the enemies of the short stage, the cursor on "Quit".
    startPlaying();
    host->press("Z");
    ASSERT_TRUE(waitFor([&] { return system().replay.frame() >= 150; }));
    host->releaseAll();
    tap("Esc");
    runFrames(2);
    tap("Down");
    runFrames(30);
    shoot("pause");
    tap("Esc");

    // After the warning: the continue prompt 80 frames in ("7"), "Yes" chosen; then the game
    // over, half faded.
    ASSERT_TRUE(waitFor([&] { return system().replay.frame() >= 400; }));
    ASSERT_TRUE(loseLastShip());
    runFrames(80);
    shoot("continue");
    // "Yes": the ship choice with TYPE-B2 chosen; Bomb goes back to the prompt, "No" there.
    tap("Z");
    system().config.clearMarks[1] = 0x2;
    runFrames(20);
    tap("Right");
    tap("Up");
    runFrames(20);
    shoot("continue_ship");
    tap("X");
    runFrames(20);
    tap("Right");
    tap("Z");
    ASSERT_NE(banner<GameOver>(), nullptr);
    runFrames(60);
    shoot("gameover");

    // Name entry with "VESP" typed and the cursor moved on to "f".
    ASSERT_TRUE(waitFor([&] { return screen<NameEntry>() != nullptr; }, 400));
    runFrames(2);
    for (const char* key :
         {"Down", "Right", "Right", "Right", "Right", "Right", "Z",    "Up",   "Left", "Z",
          "Down", "Left",  "Left",  "Z",     "Up",    "Left",  "Left", "Left", "Z",    "Down"}) {
        tap(key);
    }
    runFrames(40);
    ASSERT_STREQ(system().config.lastName, "VESP");
    shoot("name_entry");

    // The score table of "Normal" and TYPE-B with a few filed games, rows slid in.
    for (int place = 0; place < 4; ++place) {
        const char* names[4] = {"VESP", "glint", "no name", "A.B"};
        insertScore(1, 1, system().scoreTable, 3000000 - 700000 * place, names[place], 2024,
                    place + 3, 10 + place, 20 - place, 5 * place);
    }
    system().endAll();
    system().spawnFront<ScoreInit>(layer::kScreens);
    ASSERT_TRUE(waitFor([&] { return screen<Score>() != nullptr; }, 5));
    runFrames(2);
    tap("Right");
    tap("Down");
    runFrames(70);
    shoot("score");

    pictures.check();
}

}  // namespace
}  // namespace vg
