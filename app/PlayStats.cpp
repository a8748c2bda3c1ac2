#include "app/PlayStats.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <typeinfo>

#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "enemy/EnemyKinds.h"
#include "player/PlayerBase.h"

namespace vg {

PlayStats::PlayStats(System& system) : system_(system) {
    system_.observer = this;
}

PlayStats::~PlayStats() {
    if (system_.observer == this) system_.observer = nullptr;
}

std::string PlayStats::className(const EnemyBase& enemy) {
    const char* mangled = typeid(enemy).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    if (const size_t colon = name.rfind("::"); colon != std::string::npos) {
        name.erase(0, colon + 2);
    }
    return name;
}

bool PlayStats::isBossKind(const std::string& name) {
    return isBossClass(name);
}

void PlayStats::traceTo(std::ostream* out) {
    trace_ = out;
    if (trace_) *trace_ << "frame,owner,serial,type,x,y,vx,vy\n";
}

void PlayStats::stageStarted(const System& system) {
    StageStats stage;
    stage.stage = system.stageIndex;
    stage.difficulty = system.difficulty;
    stage.startFrame = system.frameCounter;
    for (int index = 0; index < 2; ++index) {
        const PlayerRecord& record = system.playerRecord[index];
        if (!record.present()) continue;
        PlayerStats player;
        player.index = index;
        player.score = record.score;
        player.lives = record.lives;
        player.bombs = record.bombs;
        stage.players.push_back(player);
    }
    stages_.push_back(std::move(stage));
    running_ = true;
}

void PlayStats::stageCompleted(const System& system) {
    StageStats* stage = current();
    if (!stage || !running_) return;
    stage->completed = true;
    stage->frames = system.frameCounter - stage->startFrame + 1;
    for (PlayerStats& player : stage->players) {
        player.score = system.playerRecord[player.index].score;
    }
    running_ = false;
}

void PlayStats::afterFrame() {
    StageStats* stage = current();
    if (!stage || !running_) return;
    // frameCounter has already moved past the frame just run.
    stage->frames = system_.frameCounter - stage->startFrame;
    // From the stage's hand-over on, ships leave with the stage, not by losing.
    if (!system_.inStage) return;
    for (PlayerStats& player : stage->players) {
        const PlayerBase* ship = PlayerBase::find(system_, player.index);
        if (!ship) {
            // A ship that leaves during a stage has lost its last life.
            if (player.present) {
                ++player.livesLost;
                if (player.firstLifeLost < 0) player.firstLifeLost = player.dyingSince;
            }
            player.present = false;
            continue;
        }
        const bool livesDropped = player.present && ship->lives < player.lives;
        if (livesDropped) {
            player.livesLost += player.lives - ship->lives;
            if (player.firstLifeLost < 0) player.firstLifeLost = player.dyingSince;
        }
        // The hit that costs a life comes a second before the life is taken.
        if (ship->lifeState != PlayerState::Dying) {
            player.dyingSince = -1;
        } else if (player.dyingSince < 0) {
            player.dyingSince = static_cast<int32_t>(stage->frames) - 1;
        }
        // A lost life refills the bombs; only a fall without one is a bomb used.
        if (player.present && !livesDropped && ship->bombs < player.bombs) {
            player.bombsUsed += player.bombs - ship->bombs;
        }
        player.present = true;
        player.lives = ship->lives;
        player.bombs = ship->bombs;
        player.score = ship->score;
    }
}

void PlayStats::enemySpawned(const EnemyBase& enemy) {
    if (StageStats* stage = current()) ++stage->spawned[className(enemy)];
}

void PlayStats::enemyDestroyed(const EnemyBase& enemy, bool timedOut) {
    StageStats* stage = current();
    if (!stage) return;
    const std::string name = className(enemy);
    ++stage->destroyed[name];
    if (timedOut) {
        ++stage->timedOut[name];
    } else if (isBossKind(name)) {
        stage->timedOut.try_emplace(name, 0);
    }
}

void PlayStats::bulletFired(const Bullet& bullet) {
    StageStats* stage = current();
    if (stage) ++stage->bulletsFired;
    if (!trace_) return;
    const uint32_t frame = stage ? system_.frameCounter - stage->startFrame : 0;
    const EnemyBase* owner =
        bullet.ownerId >= 0 ? EnemyBase::findBySerial(system_, bullet.ownerId) : nullptr;
    *trace_ << frame << ',' << (owner ? className(*owner) : std::string("none")) << ','
            << (bullet.ownerId >= 0 ? bullet.ownerId : -1) << ',' << int{bullet.type} << ','
            << bullet.x << ',' << bullet.y << ',' << bullet.vx << ',' << bullet.vy << '\n';
}

namespace {

void writeCounts(std::ostringstream& out, const std::map<std::string, int32_t>& counts) {
    out << '{';
    bool first = true;
    for (const auto& [name, count] : counts) {
        out << (first ? "" : ", ") << '"' << name << "\": " << count;
        first = false;
    }
    out << '}';
}

}  // namespace

std::string PlayStats::json() const {
    std::ostringstream out;
    out << "{\"stages\": [";
    for (size_t i = 0; i < stages_.size(); ++i) {
        const StageStats& stage = stages_[i];
        out << (i ? ", " : "") << "{\"stage\": " << stage.stage
            << ", \"difficulty\": " << stage.difficulty << ", \"frames\": " << stage.frames
            << ", \"completed\": " << (stage.completed ? "true" : "false") << ", \"spawned\": ";
        writeCounts(out, stage.spawned);
        out << ", \"destroyed\": ";
        writeCounts(out, stage.destroyed);
        out << ", \"timedOut\": ";
        writeCounts(out, stage.timedOut);
        out << ", \"bulletsFired\": " << stage.bulletsFired << ", \"players\": [";
        for (size_t p = 0; p < stage.players.size(); ++p) {
            const PlayerStats& player = stage.players[p];
            out << (p ? ", " : "") << "{\"score\": " << player.score
                << ", \"livesLost\": " << player.livesLost
                << ", \"bombsUsed\": " << player.bombsUsed
                << ", \"firstLifeLost\": " << player.firstLifeLost << '}';
        }
        out << "]}";
    }
    out << "]}\n";
    return out.str();
}

}  // namespace vg
