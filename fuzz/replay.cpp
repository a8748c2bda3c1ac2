// Loading a replay file and playing the first frames of each of its stages: any bytes load what
// is sound, the list helpers agree with Load (stages whole or damaged), every start record is one
// the ships can hold, a check trail is read as far as it is sound and compared with play, and
// playback reads and writes nothing outside the arena or a stream (AddressSanitizer watches).
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/TaskManager.h"
#include "fuzz/FuzzFile.h"
#include "replay/ReplayData.h"

namespace {

using vg::fuzz::check;

void checkRecord(const vg::PlayerRecord& record) {
    const bool absent = record.shipType == 255 && record.lives < 0;
    check(absent || record.shipType <= 3);
    check(record.lives <= 99 && record.bombs <= 99);
    check(record.energy >= 0 && record.energy <= 64);
    check(record.power <= (record.shipType == 2 ? 4 : 5));
}

constexpr int32_t kFramesPerStage = 300;

// A trail as a reader takes it: marks in rising frame order inside the stage.
void checkTrail(const std::vector<vg::TrailMark>& trail, int32_t frameCount) {
    int32_t last = 0;
    for (const vg::TrailMark& mark : trail) {
        check(mark.frame > last && mark.frame < frameCount);
        last = mark.frame;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vg::fuzz::InputFile file("replay");
    if (!file.write(data, size)) return 0;
    const std::string& path = file.path();

    vg::ReplayIndex header;
    const bool hasIndex = vg::ReplayData::ReadIndex(path.c_str(), header);
    if (hasIndex) check(std::strlen(header.name) < sizeof header.name);
    uint8_t damaged = 0;
    const uint8_t mask = vg::ReplayData::StageMask(path.c_str(), nullptr, &damaged);
    check(mask < 32 && damaged < 32 && (mask & damaged) == 0);

    // The raw bytes as a trail entry too, for stages of several lengths.
    for (const int32_t frames : {1, 61, 3700, vg::ReplayData::kMaxStageFrames}) {
        const std::vector<vg::TrailMark> trail = vg::ReplayData::ReadTrail(data, size, frames);
        check(trail.size() <= size / sizeof(vg::TrailMark));
        checkTrail(trail, frames);
    }

    // An empty game: the trail's digests are those of the random generator alone, so playback
    // compares every mark a hostile trail holds.
    vg::TaskManager tasks;
    vg::ReplayData replay;
    replay.bindGame(vg::ReplayBinding{nullptr, nullptr, nullptr, nullptr, nullptr, &tasks});
    const bool loaded = replay.Load(path.c_str());
    check(!loaded || (hasIndex && vg::ReplayData::Playable(header)));
    check(std::strlen(replay.index().name) < sizeof replay.index().name);
    if (!loaded) {
        for (int s = 0; s < vg::ReplayData::kStageSlots; ++s) check(!replay.HasStage(s));
        return 0;
    }
    check(replay.index().difficulty < vg::ReplayData::kDifficultyCount);
    check(replay.damagedStages() == damaged);

    replay.playingBack = 1;
    uint8_t live = 0;
    for (int s = 0; s < vg::ReplayData::kStageSlots; ++s) {
        // The list offers exactly the stages Load kept.
        if (s < vg::ReplayData::kGameStages) check(replay.HasStage(s) == ((mask >> s) & 1));
        std::array<vg::PlayerRecord, 2> records;
        if (!replay.StartRecords(s, records)) continue;
        const vg::ReplayStage& stage = replay.stageRecord(s);
        check(stage.frameCount > 0 && stage.frameCount <= vg::ReplayData::kMaxStageFrames);
        for (const vg::PlayerRecord& record : records) checkRecord(record);
        checkTrail(replay.trail(s), stage.frameCount);
        // Inflating reads at most the block: its size is what the block holds.
        for (int p = 0; p < 2; ++p) {
            const uint8_t* block = replay.block(s, p);
            const int32_t held = stage.blockSize[p];
            check(block ? held > 0 && static_cast<uint32_t>(held) + vg::TaskArena::kHeaderSize <=
                                          replay.arena().blockSizeOf(block)
                        : held == 0);
        }

        replay.BeginStage(replay.index().difficulty, static_cast<uint8_t>(s), records[0],
                          records[1]);
        for (int p = 0; p < 2; ++p) {
            // A stage Load keeps has its whole input: a block for every present player.
            const size_t held = replay.stream(p).size();
            check(held == (replay.block(s, p) ? static_cast<size_t>(stage.frameCount) : 0));
            check(replay.block(s, p) || !records[p].present());
        }
        for (int32_t f = 0; f < kFramesPerStage; ++f) {
            uint8_t input[2] = {live, static_cast<uint8_t>(~live)};
            replay.Step(input[0], input[1]);
            for (int p = 0; p < 2; ++p) {
                // Without a block a player plays on 0 words, never on the live input.
                if (!replay.block(s, p)) check(input[p] == 0);
            }
            live = static_cast<uint8_t>(live * 5 + 1);
        }
        check(replay.frame() == kFramesPerStage);
        // A departure names a mark of the trail, and only a frame that was played.
        const int32_t departure = replay.trailDeparture(false);
        check(departure < 0 || (departure > 0 && departure < kFramesPerStage));
        check(replay.marksTaken().size() == (kFramesPerStage - 1) / 60);
    }
    // The arena gives back everything a reset returns.
    replay.Reset();
    check(replay.arena().bytesInUse() == 0);
    return 0;
}
