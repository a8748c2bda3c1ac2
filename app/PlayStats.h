#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "core/PlayObserver.h"

namespace vg {

class EnemyBase;
class System;

// Statistics of play for the headless tool and the tests: per stage played, the frames, whether
// it was completed, the enemies spawned and destroyed by kind (their class names), the bosses
// ended by their time limit, the bullets fired and each player's score, lives lost and bombs
// used. Optionally traces every enemy bullet as a CSV line. Installs itself as the System's
// observer for its lifetime; it only reads.
class PlayStats : public PlayObserver {
  public:
    struct PlayerStats {
        int index = 0;
        int64_t score = 0;
        int32_t livesLost = 0;
        int32_t bombsUsed = 0;
        // Frame of the stage (counted from its first) on which the ship was hit for the first
        // life it lost; -1 while none was lost.
        int32_t firstLifeLost = -1;
        // Last seen values, to tell losses from gains.
        int32_t dyingSince = -1;
        bool present = false;
        int32_t lives = 0;
        int32_t bombs = 0;
    };
    struct StageStats {
        int stage = 0;
        int difficulty = 0;
        uint32_t startFrame = 0;
        uint32_t frames = 0;
        bool completed = false;
        std::map<std::string, int32_t> spawned;
        std::map<std::string, int32_t> destroyed;
        std::map<std::string, int32_t> timedOut;
        int64_t bulletsFired = 0;
        std::vector<PlayerStats> players;
    };

    explicit PlayStats(System& system);
    ~PlayStats() override;
    PlayStats(const PlayStats&) = delete;
    PlayStats& operator=(const PlayStats&) = delete;

    // Writes the header now and a line per enemy bullet from here on
    // ("frame,owner,serial,type,x,y,vx,vy"); null stops tracing.
    void traceTo(std::ostream* out);
    // Once after every frame: frames, scores, lives lost and bombs used of the running stage.
    void afterFrame();

    void enemySpawned(const EnemyBase& enemy) override;
    void enemyDestroyed(const EnemyBase& enemy, bool timedOut) override;
    void bulletFired(const Bullet& bullet) override;
    void stageStarted(const System& system) override;
    void stageCompleted(const System& system) override;

    // {"stages": [{"stage": 0, "difficulty": 1, "frames": ..., "completed": true,
    //   "spawned": {...}, "destroyed": {...}, "timedOut": {...}, "bulletsFired": ...,
    //   "players": [{"score": ..., "livesLost": ..., "bombsUsed": ..., "firstLifeLost": ...}]}]}
    std::string json() const;
    const std::vector<StageStats>& stages() const { return stages_; }
    // A stage is being played (started and not completed).
    bool inStage() const { return running_; }

    // The class name of an enemy's dynamic type, without its namespace ("TankSmall").
    static std::string className(const EnemyBase& enemy);

  private:
    StageStats* current() { return stages_.empty() ? nullptr : &stages_.back(); }
    // Bosses and semi-bosses are listed under timedOut even when none timed out.
    static bool isBossKind(const std::string& name);

    System& system_;
    std::vector<StageStats> stages_;
    bool running_ = false;
    std::ostream* trace_ = nullptr;
};

}  // namespace vg
