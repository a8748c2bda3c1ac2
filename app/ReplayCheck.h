#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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
    bool ok = false;
};

struct ReplayCheck {
    enum class Status { Ok, Mismatch, Unreadable };
    Status status = Status::Unreadable;
    std::vector<StageCheck> stages;
};

// Plays each stage `path` holds, from its recorded start, with no input but the file's (a fresh
// game for every stage, as the replay list starts one), and compares the scores at the stage's
// end with the record: at its hand-over for a stage that was completed, else after as many
// frames as were recorded. Unreadable: the file cannot be loaded or holds no stage. The
// working folder must be the game folder (data.pck).
ReplayCheck checkReplay(const std::string& path);

// "stage S: recorded A B, replayed C D, ok" (or "MISMATCH"), S as --stage counts.
std::string describe(const StageCheck& stage);

}  // namespace vg
