// The pause: when it opens, what its three choices and the pause key do, and that a paused game
// leaves no trace in the game or its replay.
#include <algorithm>
#include <map>

#include "PauseFixture.h"
#include "app/KeyScript.h"
#include "stage/StageBanners.h"
#include "stage/StageInit.h"

namespace vg {
namespace {

using testing::PauseTest;

// Game keys of game frame g: Z always (the ship fires), and a sweep left and right.
void holdGameKeys(HeadlessHost& host, int32_t g) {
    host.releaseAll();
    host.press("Z");
    const int32_t phase = g % 160;
    if (phase < 50) {
        host.press("Left");
    } else if (phase >= 80 && phase < 130) {
        host.press("Right");
    }
    if (phase % 40 < 10) host.press("Up");
}

// How a pause ends in the runs below.
enum class Close { kPauseAgain, kPlayerPauseKey, kReturnToGame };

// Host frames of one pause opened at the current frame: keys per frame, the last frame closing
// it. The cursor is moved about first, so closing by confirm needs it back on "Return to Game".
std::vector<std::vector<const char*>> pauseKeys(Close close) {
    std::vector<std::vector<const char*>> frames = {{"Esc"}, {},     {}, {"Down"}, {}, {"Down"},
                                                    {},      {"Up"}, {}, {"Up"},   {}};
    for (int i = 0; i < 30; ++i) frames.push_back({});
    switch (close) {
        case Close::kPauseAgain:
            frames.push_back({"Esc"});
            break;
        case Close::kPlayerPauseKey:
            frames.push_back({"V"});
            break;
        case Close::kReturnToGame:
            frames.push_back({"Z"});
            break;
    }
    return frames;
}

struct Trace {
    // Fingerprint after each game frame, by game frame.
    std::map<int32_t, uint64_t> frames;
    int32_t pausesOpened = 0;
    // What the pauses froze.
    int32_t pausesInTheWarning = 0;
    int32_t mostBullets = 0;
    int32_t mostEnemies = 0;
    int32_t mostEffects = 0;
};

// Plays the short stage for `gameFrames` game frames with the same game keys per game frame,
// pausing when a game frame in `pauseAt` comes up. Playback runs take no keys.
class PauseTraceTest : public PauseTest {
  protected:
    Trace play(int32_t gameFrames, const std::map<int32_t, Close>& pauseAt, bool playback = false) {
        Trace run;
        int32_t last = -1;
        while (system().replay.frame() < gameFrames && host->framesRun() < 20000) {
            const int32_t g = system().replay.frame();
            const auto pauseHere = pauseAt.find(g);
            if (!playback && pauseHere != pauseAt.end() &&
                run.pausesOpened < int32_t(pauseAt.size()) && g != last) {
                if (banner<Warning>()) ++run.pausesInTheWarning;
                run.mostBullets = std::max(run.mostBullets, countInLayer(system(), layer::kBullet));
                run.mostEnemies = std::max(run.mostEnemies, countInLayer(system(), layer::kAir));
                run.mostEffects = std::max(run.mostEffects, countInLayer(system(), layer::kEffect));
                for (const auto& keys : pauseKeys(pauseHere->second)) {
                    host->releaseAll();
                    for (const char* key : keys) host->press(key);
                    host->run(1);
                    EXPECT_EQ(system().replay.frame(), g) << "a paused frame was stepped";
                }
                ++run.pausesOpened;
                EXPECT_EQ(pause(), nullptr);
            }
            last = g;
            if (playback) {
                host->releaseAll();
            } else {
                holdGameKeys(*host, g);
            }
            host->run(1);
            if (system().replay.frame() > g) run.frames[g] = testing::fingerprint(system());
        }
        return run;
    }
};

// One pause at the stage title, one among the enemies and two in the warning, closed in each
// of the three ways: the game goes on exactly as without them, and the replay of the paused
// run plays the same game again (the warning's jitter, the explosions and the bullets
// included).
TEST_F(PauseTraceTest, PausesLeaveNoTraceInTheGameOrItsReplay) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    constexpr int32_t kGameFrames = 420;
    std::ofstream("pause_stage.dat") << testing::kPauseStageScript;
    startBare();
    system().testStageScript = "pause_stage.dat";
    host->startStage(0, 0, 0);
    host->run(1);
    const Trace plain = play(kGameFrames, {});
    ASSERT_EQ(plain.frames.size(), size_t{kGameFrames});

    startBare();
    system().testStageScript = "pause_stage.dat";
    host->startStage(0, 0, 0);
    host->run(1);
    const std::map<int32_t, Close> pauses = {
        {30, Close::kPauseAgain},
        {250, Close::kReturnToGame},
        {testing::kWarningFrame + 20, Close::kPlayerPauseKey},
        {testing::kWarningFrame + 90, Close::kPauseAgain},
    };
    const Trace paused = play(kGameFrames, pauses);
    EXPECT_EQ(paused.pausesOpened, 4);
    EXPECT_EQ(paused.pausesInTheWarning, 2);
    EXPECT_GT(paused.mostBullets, 0);
    EXPECT_GT(paused.mostEnemies, 0);
    EXPECT_GT(paused.mostEffects, 0);
    ASSERT_EQ(paused.frames.size(), plain.frames.size());
    for (const auto& [g, print] : plain.frames) {
        ASSERT_EQ(paused.frames.at(g), print) << "game frame " << g << " differs after a pause";
    }
    const PlayerRecord start0 = system().playerRecord[0];
    ASSERT_TRUE(system().replay.EndOpenStage(ship(0) ? ship(0)->score : 0, 0));
    ASSERT_TRUE(system().replay.Save("paused.rpl"));

    startBare();
    system().testStageScript = "pause_stage.dat";
    host->startStage(0, 0, 0);
    ASSERT_TRUE(system().replay.Load("paused.rpl"));
    system().replay.recording = 0;
    system().replay.playingBack = 1;
    ASSERT_TRUE(system().replay.StartRecords(0, system().playerRecord));
    EXPECT_EQ(system().playerRecord[0].score, start0.score);
    host->run(1);
    const Trace replayed = play(kGameFrames - 1, {}, true);
    for (const auto& [g, print] : replayed.frames) {
        ASSERT_EQ(plain.frames.at(g), print) << "the replay departs at game frame " << g;
    }
    EXPECT_EQ(replayed.frames.size(), size_t{kGameFrames - 1});
}

// While the pause is open the frozen game is drawn every frame, yet nothing in it moves on:
// no task's fields change, no task is made or ended, and the random generator is not drawn
// from; that holds for the frame that closes the pause too. Paused at the stage title, among
// enemies and bullets, in the warning's jitter, at the boss with its gauge, and in the result.
TEST_F(PauseTest, AFrozenGameIsDrawnWithoutChangingIt) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startBare();
    std::ofstream("pause_stage.dat") << testing::kBossStageScript;
    system().testStageScript = "pause_stage.dat";
    system().testInvincible = 1;
    host->startStage(0, 0, 0);
    host->run(1);
    host->press("Z");
    const struct {
        int32_t frame;
        const char* what;
        const char* shown;  // a class the frozen game must hold then
    } moments[] = {{30, "stage title", "StageTop"},
                   {250, "enemies", "Bullet"},
                   {testing::kWarningFrame + 15, "warning", "Warning"},
                   {440, "boss", "BossShieldFrame"},
                   {640, "result", "Result"}};
    for (const auto& moment : moments) {
        SCOPED_TRACE(moment.what);
        ASSERT_TRUE(waitFor([&] { return system().replay.frame() >= moment.frame; }));
        host->releaseAll();
        host->run(1);
        const auto before = testing::snapshotTasks(system());
        const auto random = testing::randomBytes();
        EXPECT_TRUE(std::any_of(before.begin(), before.end(),
                                [&](const testing::TaskBytes& t) {
                                    return t.typeName.find(moment.shown) != std::string::npos;
                                }))
            << "no " << moment.shown;
        tap("Esc");
        ASSERT_NE(pause(), nullptr);
        for (int i = 0; i < 40; ++i) {
            host->run(1);
            for (const Task* task = system().head()->next; task != system().tail();
                 task = task->next) {
                if (task->isLive() && task != pause()) {
                    ASSERT_EQ(task->state, kTaskFrozen);
                }
            }
        }
        host->tap("Esc");
        // The closing frame is drawn frozen as well; the game resumes with the next step.
        const auto after = testing::snapshotTasks(system(), system().firstOfLayer(layer::kPause));
        EXPECT_EQ(testing::randomBytes(), random) << "a frozen draw took random numbers";
        ASSERT_EQ(after.size(), before.size()) << "a frozen draw made or ended a task";
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].task, before[i].task);
            EXPECT_EQ(after[i].bytes, before[i].bytes)
                << before[i].typeName << " moved on while frozen";
        }
        host->run(1);
        EXPECT_EQ(pause(), nullptr);
        ASSERT_NE(ship(0), nullptr);
        EXPECT_EQ(ship(0)->state, kTaskActive);
        host->press("Z");
    }
}

// Escape, player 0's and player 1's pause keys open the pause during a stage; nothing opens it
// outside a stage or while the attract mode's demo runs.
TEST_F(PauseTest, OpensOnlyDuringAStage) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startBare();
    host->startStage(0, 0, 0);
    tap("Esc");  // StageInit has not run when Escape is read
    EXPECT_EQ(pause(), nullptr);
    ASSERT_TRUE(waitFor([&] { return system().inStage != 0; }));
    for (const char* key : {"Esc", "V", "R"}) {
        SCOPED_TRACE(key);
        const int32_t g = system().replay.frame();
        tap(key);
        ASSERT_NE(pause(), nullptr);
        EXPECT_EQ(pause()->state, kTaskActive);
        EXPECT_EQ(ship(0)->state, kTaskFrozen);
        EXPECT_EQ(system().replay.frame(), g) << "the opening frame was stepped";
        runFrames(20);
        tap(key);
        runFrames(1);
        ASSERT_EQ(pause(), nullptr);
    }
    // The attract mode's task lives on its own layer; a demo is never paused.
    Task* attract = system().spawnFront<Task>(layer::kAttract);
    tap("Esc");
    EXPECT_EQ(pause(), nullptr);
    attract->end();
    system().inStage = 0;
    tap("Esc");
    EXPECT_EQ(pause(), nullptr);
}

// The cursor wraps both ways; "Return to Game" puts back the stageStarted the pause found (a
// pause during the stage title must not let a second player join early).
TEST_F(PauseTest, MenuWrapsAndReturnRestoresTheStageStart) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startBare();
    host->startStage(0, 0, 0);
    ASSERT_TRUE(waitFor([&] { return system().inStage != 0; }));
    ASSERT_EQ(system().stageStarted, 0);
    tap("Esc");
    runFrames(2);
    EXPECT_EQ(system().stageStarted, 0);
    const struct {
        const char* key;
        int cursor;
    } moves[] = {{"Up", Pause::kItemRetry},   {"Up", Pause::kItemQuit},
                 {"Up", Pause::kItemReturn},  {"Down", Pause::kItemQuit},
                 {"Down", Pause::kItemRetry}, {"Down", Pause::kItemReturn}};
    for (const auto& move : moves) {
        tap(move.key);
        EXPECT_EQ(pause()->cursor, move.cursor) << move.key;
    }
    tap("Z");
    ASSERT_EQ(pause(), nullptr);
    EXPECT_EQ(system().stageStarted, 0) << "the stage title was not over when the pause opened";

    ASSERT_TRUE(waitFor([&] { return system().stageStarted != 0; }));
    tap("V");
    EXPECT_EQ(system().stageStarted, 0);
    runFrames(3);
    tap("V");
    EXPECT_EQ(system().stageStarted, 1);
}

// "Retry" starts the stage over from the records it started with; a single stage starts over
// as a fresh single stage. "Quit" goes to the title.
TEST_F(PauseTest, RetryAndQuit) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startPlaying();
    host->press("Z");
    ASSERT_TRUE(waitFor([&] { return ship(0)->score > 0; }));
    host->releaseAll();
    EXPECT_EQ(system().playMode, 2);
    const PlayerRecord start = system().playerRecord[0];
    tap("Esc");
    runFrames(1);
    tap("Down");
    tap("Down");
    ASSERT_EQ(pause()->cursor, Pause::kItemRetry);
    host->tap("Z");
    EXPECT_EQ(pause(), nullptr);
    EXPECT_EQ(system().playMode, 1) << "the single stage starts over as a new single stage";
    ASSERT_NE(screen<StageInit>(), nullptr);
    runFrames(1);
    EXPECT_EQ(system().playMode, 2);
    EXPECT_EQ(system().inStage, 1);
    EXPECT_EQ(system().replay.frame(), 0);
    ASSERT_TRUE(waitFor([&] { return ship(0) != nullptr; }, 5));
    EXPECT_EQ(ship(0)->score, start.score);
    EXPECT_EQ(ship(0)->lives, start.lives);

    // A full game keeps its mode.
    system().playMode = 0;
    ASSERT_TRUE(waitFor([&] { return system().stageStarted != 0; }));
    tap("Esc");
    runFrames(1);
    tap("Up");
    host->tap("Z");
    EXPECT_EQ(system().playMode, 0);
    ASSERT_NE(screen<StageInit>(), nullptr);

    ASSERT_TRUE(waitFor([&] { return system().stageStarted != 0; }));
    tap("Esc");
    runFrames(1);
    tap("Down");
    ASSERT_EQ(pause()->cursor, Pause::kItemQuit);
    tap("Z");
    runFrames(2);
    EXPECT_NE(screen<ScreenBase>(), nullptr);
    EXPECT_EQ(system().inStage, 0);
    EXPECT_EQ(system().fieldView, 0);
    EXPECT_EQ(ship(0), nullptr);
}

// From the stage's first closing frame on the pause stays shut: a retry there would start the
// stage again from what was earned in it.
TEST_F(PauseTest, NoPauseOnceTheStageIsComplete) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startPlaying();
    ASSERT_TRUE(waitFor([&] { return system().stageStarted == 0; }, 1500));
    EXPECT_EQ(system().inStage, 0);
    tap("Esc");
    EXPECT_EQ(pause(), nullptr);
}

}  // namespace
}  // namespace vg
