// A score filed at name entry is on disk at once: the game is killed right after the name is
// confirmed, before it could write its save on the way out, and the save holds the score.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "PauseFixture.h"
#include "core/SaveData.h"

namespace vg {
namespace {

using testing::PauseTest;

// In the child: name entry after a game of 4321000 with TYPE-B2 on "Hard", "VG" typed and
// confirmed. Reports the frame after the confirm through `report`, then waits to be killed.
[[noreturn]] void playUntilKilled(int report) {
    HeadlessHost host(KeyScript{}, false, "save");
    System& system = host.system();
    GameInit::loadSharedAssets(system);
    system.difficulty = 2;
    system.playerRecord[0].shipType = 3;
    system.playerRecord[0].finalScore = 4321000;
    system.replay.recording = 1;
    system.spawnFront<NameEntryInit>(layer::kBanner);
    host.run(3);
    // "V" is at (5, 1) and "G" at (6, 0) of the grid; the end mark at (15, 5).
    for (const char* key :
         {"Down", "Right", "Right", "Right", "Right", "Right", "Z", "Up", "Right", "Z", "Up",
          "Left", "Left", "Left", "Left", "Left", "Left", "Left", "Z"}) {
        host.tap(key);
        host.run(1);
    }
    const char done = testing::findTask<NameEntry>(system) == nullptr ? 'y' : 'n';
    if (write(report, &done, 1) != 1) _exit(3);
    for (;;) pause();
}

TEST_F(PauseTest, FiledScoreSurvivesAKillRightAfterTheConfirm) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(channel[0]);
        playUntilKilled(channel[1]);
    }
    close(channel[1]);
    char done = 0;
    const ssize_t got = read(channel[0], &done, 1);
    close(channel[0]);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(got, 1) << "the game ended before it reported";
    EXPECT_EQ(done, 'y') << "name entry did not close on the end mark";
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    ScoreTable scores;
    KeyRecords keys;
    Config config;
    ASSERT_TRUE(readSaveFile("save", {scores, keys, config})) << "no save on disk";
    const ScoreEntry& best = scores.at(2, 3, 0);
    EXPECT_EQ(best.score, 4321000);
    EXPECT_STREQ(best.name, "VG");
    EXPECT_STREQ(config.lastName, "VG");
}

}  // namespace
}  // namespace vg
