#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "../screens/ScreenFixture.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/TaskArena.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "player/PlayerBase.h"
#include "screens/Continue.h"
#include "screens/GameInit.h"
#include "screens/GameOver.h"
#include "screens/NameEntry.h"
#include "screens/Pause.h"
#include "screens/Score.h"

namespace vg::testing {

// A short stage for the pause tests: enemies that shoot from the start, the boss warning at
// frame 260 (its jitter takes random numbers while it is drawn), the result and the hand-over.
inline const char* const kPauseStageScript =
    "0,MAP_POS_Y,7808\n"
    "0,MAP_SCROLL_SPEED,1\n"
    "0,MAP_LOOP_POINT_Y,7232\n"
    "0,MAP_LOOP_BACK_POINT_Y,7744\n"
    "20,CLOUD,40,-110,90,2.0,3\n"
    "40,ENEMY_FLYGUN_BRAKE,70,-30,90,3,0.96,50,0\n"
    "60,ENEMY_FLYGUN_BRAKE,180,-30,90,3,0.96,50,0\n"
    "100,ENEMY_TINYPLANE,30,-20,90,3,0\n"
    "118,ENEMY_TINYPLANE,200,-20,90,3,0\n"
    "136,ENEMY_TINYPLANE,80,-20,90,3,0\n"
    "160,ENEMY_FLYGUN_BRAKE,40,-30,90,3,0.96,50,2\n"
    "180,ENEMY_FLYGUN_BRAKE,200,-30,90,3,0.96,50,2\n"
    "200,ENEMY_FLYSMALL_BRAKE,-20,40,20,4,0.95,40,0\n"
    "212,ENEMY_FLYSMALL_BRAKE,268,40,160,4,0.95,40,0\n"
    "224,ENEMY_FLYSMALL_BRAKE,-20,70,20,4,0.95,40,0\n"
    "236,ENEMY_FLYSMALL_BRAKE,268,70,160,4,0.95,40,0\n"
    "260,WARNING,0\n"
    "300,ENEMY_FLYMEDIUM_B,124,-40,0\n"
    "330,ENEMY_FLYGUN_BRAKE,120,-30,90,3,0.96,50,0\n"
    "560,RESULT,0\n"
    "760,STAGE_COMPLETE\n";

// Frame of the script's warning.
constexpr int32_t kWarningFrame = 260;

// The same stage with the first boss after the warning and the result while it lives.
inline const std::string kBossStageScript = std::string(kPauseStageScript) +
                                            "300,ENEMY_BOSS_1,124,-5,0\n"
                                            "600,RESULT,0\n";

// The screens of this issue driven through the headless host, each test in a folder of its
// own. The host starts without the first task; startStage plays a single stage directly.
class PauseTest : public ScreenTest {
  protected:
    // A host with no task yet; its save is "save" in the test's folder.
    HeadlessHost& startBare() { return newHost(KeyScript{}, false, "save"); }
    // Starts stage 0 with a short script as a single stage and runs until the stage title is
    // over.
    void startPlaying(uint8_t ship0 = 0, const std::string& script = kPauseStageScript,
                      uint8_t ship1 = 255, uint8_t difficulty = 0) {
        startBare();
        std::ofstream("pause_stage.dat") << script;
        system().testStageScript = "pause_stage.dat";
        host->startStage(0, difficulty, ship0, ship1);
        ASSERT_TRUE(host->runUntil([&] { return system().stageStarted != 0; }, 1000));
    }

    // Name entry at the end of a recorded game with these records, over the save of the test's
    // folder (loaded as at start-up).
    NameEntry* startNameEntry(const PlayerRecord& player0, const PlayerRecord& player1,
                              uint8_t difficulty = 0) {
        startBare();
        GameInit::loadSharedAssets(system());
        system().playerRecord = {player0, player1};
        system().difficulty = difficulty;
        system().replay.recording = 1;
        system().spawnFront<NameEntryInit>(layer::kBanner);
        waitFor([&] { return screen<NameEntry>() != nullptr; }, 5);
        host->run(1);
        return screen<NameEntry>();
    }
    static PlayerRecord played(uint8_t shipType, int32_t finalScore) {
        PlayerRecord record;
        record.shipType = shipType;
        record.lives = -1;
        record.finalScore = finalScore;
        return record;
    }

    PlayerBase* ship(int player) { return PlayerBase::find(system(), player); }
    Pause* pause() { return findFirstInLayer<Pause>(system(), layer::kPause); }
    template <class T>
    T* banner() {
        return findFirstInLayer<T>(system(), layer::kBanner);
    }
    template <class T>
    T* screen() {
        return findTask<T>(system());
    }

    // Runs until `done` holds; false (and a failure) after `limit` frames.
    bool waitFor(const std::function<bool()>& done, uint32_t limit = 2000) {
        const bool held = host->runUntil(done, limit);
        EXPECT_TRUE(held) << "waited " << limit << " frames";
        return held;
    }
    void runFrames(uint32_t frames) { host->run(frames); }
    // Holds `key` for one frame, then lets it go for one frame (so the next tap is fresh).
    void tap(const char* key) {
        host->tap(key);
        host->run(1);
    }

    // The last ship of player 0 is lost: no spare ships, struck now; runs until the continue
    // prompt is there.
    bool loseLastShip(int player = 0) {
        if (!waitFor([&] { return ship(player) && ship(player)->inPlay(); })) return false;
        ship(player)->lives = 0;
        ship(player)->hit();
        return waitFor([&] { return banner<Continue>() != nullptr; }, 200);
    }
};

// Bytes of every live task after the Task fields, with the task itself, in list order: what a
// frozen game's draw must leave alone. (The list links and the state are the task system's.)
struct TaskBytes {
    const Task* task;
    std::string typeName;
    std::vector<uint8_t> bytes;
};

inline std::vector<TaskBytes> snapshotTasks(const System& system, const Task* except = nullptr) {
    std::vector<TaskBytes> all;
    for (const Task* task = system.head()->next; task != system.tail(); task = task->next) {
        if (!task->isLive() || task == except) continue;
        const auto* begin = reinterpret_cast<const uint8_t*>(&task->state) + 1;
        const auto* blockEnd = reinterpret_cast<const uint8_t*>(task) +
                               taskArena().blockSizeOf(task) - TaskArena::kHeaderSize;
        all.push_back({task, typeid(*task).name(), std::vector<uint8_t>(begin, blockEnd)});
    }
    return all;
}

inline std::vector<uint8_t> randomBytes() {
    const GameRandom& random = gameRandom();
    const auto* begin = reinterpret_cast<const uint8_t*>(&random);
    return std::vector<uint8_t>(begin, begin + sizeof random);
}

// What a game frame leaves behind, compared between runs (no addresses): the random generator,
// every live task's class and layer, and the places and values of ships, enemies and bullets.
inline uint64_t fingerprint(const System& system) {
    uint64_t hash = 14695981039346656037ull;
    const auto mix = [&](const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    const auto value = [&](int64_t v) { mix(&v, sizeof v); };
    const std::vector<uint8_t> random = randomBytes();
    mix(random.data(), random.size());
    value(system.taskCount);
    value(system.fieldScroll);
    value(system.stageStarted);
    for (const Task* task = system.head()->next; task != system.tail(); task = task->next) {
        if (!task->isLive()) continue;
        const std::string name = typeid(*task).name();
        mix(name.data(), name.size());
        value(task->layer);
        if (const auto* player = dynamic_cast<const PlayerBase*>(task)) {
            for (int64_t v :
                 {int64_t{player->x}, int64_t{player->y}, int64_t{player->score},
                  int64_t{player->lives}, int64_t{player->bombs}, int64_t{player->energy},
                  int64_t{player->stateTimer}, static_cast<int64_t>(player->lifeState)}) {
                value(v);
            }
        } else if (const auto* enemy = dynamic_cast<const EnemyBase*>(task)) {
            for (int64_t v : {int64_t{enemy->x}, int64_t{enemy->y}, int64_t{enemy->hitPoints},
                              int64_t{enemy->frameCount}}) {
                value(v);
            }
        } else if (const auto* bullet = dynamic_cast<const BulletBase*>(task)) {
            value(bullet->x);
            value(bullet->y);
        }
    }
    return hash;
}

}  // namespace vg::testing
