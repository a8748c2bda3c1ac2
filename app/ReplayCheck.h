#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "replay/ReplayData.h"

namespace vg {

class System;

// The scores a run that stops in the middle of a stage closes the stage's replay record with:
// each player's ship's score, or for a player whose last ship is gone the final score its
// record keeps (0 for a player who is not in the game). Recording and verification both take
// them after the same frame, so they must agree.
std::array<int32_t, 2> runScores(const System& system);

// One stage of a replay played back against its record.
struct StageCheck {
    int stage = 0;
    std::array<int32_t, 2> recorded{};
    std::array<int32_t, 2> replayed{};
    int32_t frames = 0;  // frames the record holds
    // The stage's input is damaged: it was not played.
    bool damaged = false;
    // The first frame of the stage's check trail where play departed from the record, or -1
    // (also when the file has no trail).
    int32_t departure = -1;
    // The trail the play took (what a re-recording keeps).
    std::vector<TrailMark> marks;
    // The stage handed over before all its recorded frames were played.
    int32_t handedOverAt = -1;
    bool ok = false;
};

struct ReplayCheck {
    enum class Status { Ok, Mismatch, Damaged, Unreadable };
    Status status = Status::Unreadable;
    std::vector<StageCheck> stages;
};

// Plays each stage `path` holds, from its recorded start, with no input but the file's (a fresh
// game for every stage, as the replay list starts one), and compares the scores at the stage's
// end with the record (at its hand-over for a stage that was completed, else after as many
// frames as were recorded) and the state of play with the stage's check trail where the file
// has one. Damaged: a stage's input is damaged (the other stages are still played).
// Unreadable: the file cannot be loaded or holds no stage. The working folder must be the game
// folder (data.pck).
ReplayCheck checkReplay(const std::string& path);

// "stage S: recorded A B, replayed C D, ok" (or "MISMATCH", or "MISMATCH at frame F" where the
// trail departs; "stage S: damaged input, not played"), S as --stage counts.
std::string describe(const StageCheck& stage);

// Records the replay `in` again into `out` from its own input: each stage is played as
// checkReplay plays it, and the file is written with the same name, difficulty, date, start
// records, frame counts and input blocks (byte for byte), the end scores the play gave and the
// check trail it took. Unreadable or Damaged: nothing is written. `written` tells whether `out`
// was written.
ReplayCheck rerecordReplay(const std::string& in, const std::string& out, bool& written);

}  // namespace vg
