// Stand-in until the replays exist: the flags only; nothing is kept or saved. The replay work
// replaces this file.
#include "replay/ReplayData.h"

#include <cstring>

namespace vg {

ReplayData::ReplayData() = default;
ReplayData::~ReplayData() = default;

void ReplayData::Reset() {
    recording = 0;
    playingBack = 0;
    frame_ = 0;
    index_ = ReplayIndex{};
    std::strcpy(index_.name, "no name");
    for (ReplayStage& stage : stages_) stage = ReplayStage{};
}

void ReplayData::BeginStage(uint8_t difficulty, uint8_t, const PlayerRecord&, const PlayerRecord&) {
    index_.difficulty = difficulty;
    frame_ = 0;
}

void ReplayData::Step(uint8_t&, uint8_t&) {
    if (recording || playingBack) ++frame_;
}

void ReplayData::EndStage(int32_t, int32_t, uint8_t) {}

bool ReplayData::HasStage(int32_t stage) const {
    return stage >= 0 && stages_[stage % kStageSlots].frameCount != 0;
}

bool ReplayData::Save(const char*) {
    return false;
}

bool ReplayData::Load(const char*) {
    Reset();
    return false;
}

bool ReplayData::ReadIndex(const char*, ReplayIndex&) {
    return false;
}

const ReplayStage& ReplayData::stageRecord(int32_t stage) const {
    return stages_[(stage % kStageSlots + kStageSlots) % kStageSlots];
}

}  // namespace vg
