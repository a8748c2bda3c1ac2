#pragma once

#include <cstddef>
#include <cstdint>

#include "core/SaveData.h"

namespace vg {

// The replay of a game: per stage, both players' carry-over records at the stage start and one
// input byte per player per frame. Every stage starts from the same random state, so these
// repeat the stage exactly. Kept in memory here and saved as a package file under "replay/".

// The replay's header ("INDEX" entry), 28 bytes, little-endian:
//   0 name[10] (NUL-terminated, at most 9 characters), 10 difficulty, 11 reserved,
//   12 score of player 0 and 16 of player 1 at the end of the last recorded stage,
//   20 year mod 100, 21 month, 22 day, 23 hour, 24 minute, 25..27 reserved.
struct ReplayIndex {
    char name[10] = {};
    uint8_t difficulty = 0;
    uint8_t reserved = 0;
    int32_t score[2] = {};
    uint8_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t reserved2[3] = {};
};
static_assert(sizeof(ReplayIndex) == 28);
static_assert(offsetof(ReplayIndex, score) == 12);
static_assert(offsetof(ReplayIndex, year) == 20);

// One stage of the replay ("STAGE_%d" entry), 44 bytes: both players' records as at the stage
// start (their final-score field holds the score at the stage end), the frame count (0: the
// stage is not in the replay) and the byte sizes of the two compressed input blocks.
struct ReplayStage {
    PlayerRecord player[2];
    int32_t frameCount = 0;
    int32_t blockSize[2] = {};
};
static_assert(sizeof(ReplayStage) == 44);
static_assert(offsetof(ReplayStage, frameCount) == 32);

class ReplayData {
  public:
    static constexpr int kStageSlots = 6;

    ReplayData();
    ~ReplayData();
    ReplayData(const ReplayData&) = delete;
    ReplayData& operator=(const ReplayData&) = delete;

    // Neither recording nor playing back; everything emptied; the name "no name".
    void Reset();
    // A stage starts: recording keeps the start records, playback loads the stage's input.
    void BeginStage(uint8_t difficulty, uint8_t stage, const PlayerRecord& player0,
                    const PlayerRecord& player1);
    // Once per game frame, not while paused: records the two input bytes, or replaces them
    // during playback.
    void Step(uint8_t& input0, uint8_t& input1);
    // A stage ends (or the game, at the continue screen): closes the stage's record.
    void EndStage(int32_t score0, int32_t score1, uint8_t stage);
    bool HasStage(int32_t stage) const;
    bool Save(const char* fileName);
    bool Load(const char* fileName);
    // Reads only the header of a replay file.
    static bool ReadIndex(const char* fileName, ReplayIndex& index);

    const ReplayIndex& index() const { return index_; }
    ReplayIndex& index() { return index_; }
    const ReplayStage& stageRecord(int32_t stage) const;

    uint8_t recording = 1;
    uint8_t playingBack = 0;

  private:
    ReplayIndex index_;
    ReplayStage stages_[kStageSlots];
    int32_t frame_ = 0;
};

}  // namespace vg
