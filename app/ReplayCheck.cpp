#include "app/ReplayCheck.h"

#include <cstdio>

#include "app/HeadlessHost.h"
#include "core/PlayObserver.h"
#include "core/System.h"
#include "player/PlayerBase.h"
#include "replay/ReplayLoad.h"
#include "screens/GameInit.h"

namespace vg {

namespace {

// Frames a stage may run past its record before the check gives up on its hand-over.
constexpr int32_t kOverrun = 600;

// Catches the stage's start and its hand-over, where the game closes a completed stage's record
// with the scores of the players' records.
class StageWatch final : public PlayObserver {
  public:
    void stageStarted(const System&) override { started = true; }
    void stageCompleted(const System& system) override {
        completed = true;
        frame = system.replay.frame();
        scores = {system.playerRecord[0].score, system.playerRecord[1].score};
    }

    bool started = false;
    bool completed = false;
    int32_t frame = 0;
    std::array<int32_t, 2> scores{};
};

// Plays `stage` of the replay in `path` in a fresh game; false when it cannot be started.
bool playStage(const std::string& path, StageCheck& check) {
    HeadlessHost host(KeyScript{}, false, "");
    System& system = host.system();
    StageWatch watch;
    system.observer = &watch;
    GameInit::loadSharedAssets(system);
    if (!system.replay.Load(path.c_str()) || !startReplayPlayback(system, check.stage)) {
        system.observer = nullptr;
        return false;
    }
    const ReplayStage& record = system.replay.stageRecord(check.stage);
    check.recorded = {record.player[0].finalScore, record.player[1].finalScore};
    check.frames = record.frameCount;
    const auto reachedEnd = [&] {
        if (watch.completed) return true;
        return watch.started && system.replay.frame() >= record.frameCount;
    };
    host.runUntil(reachedEnd, static_cast<uint32_t>(record.frameCount) + kOverrun);
    check.replayed = watch.completed ? watch.scores : runScores(system);
    if (watch.completed && watch.frame < record.frameCount) check.handedOverAt = watch.frame;
    check.departure = system.replay.trailDeparture(true);
    check.marks = system.replay.marksTaken();
    check.ok = check.replayed == check.recorded && check.departure < 0;
    system.observer = nullptr;
    return true;
}

}  // namespace

std::array<int32_t, 2> runScores(const System& system) {
    std::array<int32_t, 2> scores{};
    for (int index = 0; index < 2; ++index) {
        if (const PlayerBase* ship = PlayerBase::find(system, index)) {
            scores[index] = ship->score;
        } else if (system.playerRecord[index].present()) {
            scores[index] = system.playerRecord[index].finalScore;
        }
    }
    return scores;
}

ReplayCheck checkReplay(const std::string& path) {
    ReplayCheck result;
    std::vector<int> stages;
    uint8_t damaged = 0;
    {
        ReplayData replay;
        if (!replay.Load(path.c_str())) return result;
        damaged = replay.damagedStages();
        for (int stage = 0; stage < ReplayData::kGameStages; ++stage) {
            if (replay.HasStage(stage) || (damaged & (1u << stage))) stages.push_back(stage);
        }
    }
    if (stages.empty()) return result;
    result.status = ReplayCheck::Status::Ok;
    for (const int stage : stages) {
        StageCheck check;
        check.stage = stage;
        if (damaged & (1u << stage)) {
            check.damaged = true;
            result.status = ReplayCheck::Status::Damaged;
        } else if (!playStage(path, check)) {
            result.status = ReplayCheck::Status::Unreadable;
            result.stages.clear();
            return result;
        } else if (!check.ok && result.status == ReplayCheck::Status::Ok) {
            result.status = ReplayCheck::Status::Mismatch;
        }
        result.stages.push_back(std::move(check));
    }
    return result;
}

std::string describe(const StageCheck& stage) {
    char line[200];
    if (stage.damaged) {
        std::snprintf(line, sizeof line, "stage %d: damaged input, not played", stage.stage);
        return line;
    }
    char verdict[48] = "ok";
    if (stage.departure >= 0) {
        std::snprintf(verdict, sizeof verdict, "MISMATCH at frame %d", stage.departure);
    } else if (!stage.ok) {
        std::snprintf(verdict, sizeof verdict, "MISMATCH");
    }
    std::snprintf(line, sizeof line, "stage %d: recorded %d %d, replayed %d %d, %s", stage.stage,
                  stage.recorded[0], stage.recorded[1], stage.replayed[0], stage.replayed[1],
                  verdict);
    return line;
}

ReplayCheck rerecordReplay(const std::string& in, const std::string& out, bool& written) {
    written = false;
    ReplayCheck check = checkReplay(in);
    if (check.status == ReplayCheck::Status::Unreadable ||
        check.status == ReplayCheck::Status::Damaged) {
        return check;
    }
    ReplayData replay;
    if (!replay.Load(in.c_str())) {
        check.status = ReplayCheck::Status::Unreadable;
        return check;
    }
    for (const StageCheck& stage : check.stages) {
        replay.setStageScores(stage.stage, stage.replayed[0], stage.replayed[1]);
        replay.setTrail(stage.stage, stage.marks);
    }
    // The header holds the scores of the last stage, as a recording leaves it.
    const StageCheck& last = check.stages.back();
    replay.index().score[0] = last.replayed[0];
    replay.index().score[1] = last.replayed[1];
    const ReplayIndex& index = replay.index();
    const ReplayStamp date{index.year, index.month, index.day, index.hour, index.minute};
    written = replay.Save(out.c_str(), date);
    return check;
}

}  // namespace vg
