#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "input/KeyRecord.h"

namespace vg {

// The save file ("save" in the working folder) is a package with three entries, in this order:
//   "SCORE"   4000 bytes  ScoreTable
//   "INPUT"     96 bytes  the two KeyRecords, first player first (input/KeyRecord.h)
//   "CONFIG"    32 bytes  Config
// Each block is its struct stored byte for byte, little-endian; the layouts below are pinned by
// static_asserts. Reading keeps the defaults of whatever a block is missing.
static_assert(std::endian::native == std::endian::little,
              "save blocks are stored as the in-memory structs");

// Settings and progress. File layout:
//   0  lastName[12]       name last entered, zero-terminated
//   12 musicVolume        float, 0..1
//   16 seVolume           float, 0..1
//   20 gameCleared        1 once a full game was finished (unlocks "Extra")
//   21 extraCleared       1 once "Extra" was finished (unlocks "Extra2")
//   22 furthestStage      highest stage index reached
//   23 clearMarks[5]      per difficulty, one bit per ship type
//   28 bulletChangeCount  option "BulletChangeCount" (0 off, 1 on)
//   29 playerCollision    option "PlayerCollision" (0 off, 1 on, 2 always)
//   30 buzz               option "Buzz" (0 off, 1 on)
//   31 opticalEffect      option "OpticalEffect" (0 off, 1 on)
struct Config {
    static constexpr float kDefaultMusicVolume = 1.0f;
    static constexpr float kDefaultSEVolume = 0.85f;

    char lastName[12] = {};
    float musicVolume = kDefaultMusicVolume;
    float seVolume = kDefaultSEVolume;
    uint8_t gameCleared = 0;
    uint8_t extraCleared = 0;
    uint8_t furthestStage = 0;
    uint8_t clearMarks[5] = {};
    uint8_t bulletChangeCount = 0;
    uint8_t playerCollision = 1;
    uint8_t buzz = 0;
    uint8_t opticalEffect = 0;
};
static_assert(sizeof(Config) == 32);
static_assert(offsetof(Config, musicVolume) == 12);
static_assert(offsetof(Config, seVolume) == 16);
static_assert(offsetof(Config, gameCleared) == 20);
static_assert(offsetof(Config, furthestStage) == 22);
static_assert(offsetof(Config, clearMarks) == 23);
static_assert(offsetof(Config, bulletChangeCount) == 28);
static_assert(offsetof(Config, opticalEffect) == 31);

// One high-score place. File layout:
//   0  score (int32)
//   4  name[10], zero-terminated, at most 9 characters
//   14 year modulo 100, 15 month, 16 day, 17 hour, 18 minute, 19 reserved (0)
struct ScoreEntry {
    int32_t score = 0;
    char name[10] = {};
    uint8_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t reserved = 0;
};
static_assert(sizeof(ScoreEntry) == 20);
static_assert(offsetof(ScoreEntry, name) == 4);
static_assert(offsetof(ScoreEntry, year) == 14);
static_assert(offsetof(ScoreEntry, minute) == 18);

constexpr int kDifficultyCount = 5;
constexpr int kShipTypeCount = 4;
constexpr int kScorePlaces = 10;

// Ten places (0 = best) for each difficulty and ship type: the entry of difficulty d, ship type
// s, place r starts at byte d * 800 + s * 200 + r * 20.
struct ScoreTable {
    ScoreEntry entries[kDifficultyCount][kShipTypeCount][kScorePlaces];

    // Place r of every table: score 100000 - 10000 r, name "---------", no date.
    ScoreTable();
    ScoreEntry& at(int difficulty, int shipType, int place) {
        return entries[difficulty][shipType][place];
    }
    const ScoreEntry& at(int difficulty, int shipType, int place) const {
        return entries[difficulty][shipType][place];
    }
};
static_assert(sizeof(ScoreTable) == 4000);

// The carry-over record of one player between stages and into replays (16 bytes):
//   0 ship type (255 none), 1 lives (negative: no such player), 2 power, 3 bombs,
//   4 energy (only the low 16 bits are written by the ships), 8 score, 12 final score.
struct PlayerRecord {
    uint8_t shipType = 255;
    int8_t lives = -1;
    uint8_t power = 0;
    uint8_t bombs = 0;
    int32_t energy = 0;
    int32_t score = 0;
    int32_t finalScore = 0;

    // A player in the game: a ship type 0..3 and lives not negative.
    bool present() const { return lives >= 0 && shipType <= 3; }
};
static_assert(sizeof(PlayerRecord) == 16);
static_assert(offsetof(PlayerRecord, energy) == 4);
static_assert(offsetof(PlayerRecord, finalScore) == 12);

// Enters `score` into the table of `difficulty` and `shipType` when it beats the tenth place:
// below every equal score, the last place dropping out (a table out of order, from a damaged
// save, is sorted first, so it leaves sorted); the name is cut to 9 characters and the
// year stored modulo 100. Ignored for a difficulty above 4, a ship type above 3 (or either
// negative) or a null name.
void insertScore(int difficulty, int shipType, ScoreTable& table, int32_t score, const char* name,
                 int year, int month, int day, int hour, int minute);

// Volumes as stored: clamped to 0..1; NaN and infinities (a damaged file) become `fallback`.
float sanitizeVolume(float volume, float fallback);

// Joystick numbers a save may hold: -1 (none) and 0..15, the most joysticks the game numbers.
constexpr int32_t kSavedPadIdLimit = 16;
// Joystick input codes a save may hold: buttons 0..31 and the stick's 32..35 (input/KeyRecord.h).
constexpr int16_t kSavedPadCodeLast = 35;

// Key assignments as loaded from a save: every key code outside 1..255, joystick number outside
// -1..15 and joystick input code outside 0..35 is replaced by that entry's default for its
// player; every other entry is kept. A damaged save can then never leave a player without the
// keys that work the menus, nor show numbers too wide for the key configuration.
void sanitizeKeyRecords(KeyRecords& keys);
// Options outside their choices back to their defaults, each on its own: BulletChangeCount,
// Buzz and OpticalEffect take 0..1, PlayerCollision 0..2. Volumes as sanitizeVolume says.
void sanitizeConfig(Config& config);

// The three saved blocks of System, read and written together.
struct SaveBlocks {
    ScoreTable& scores;
    KeyRecords& keys;
    Config& config;
};

// Start-up load of the save file at `path`: each entry present is read over its block; a
// missing or short entry leaves the rest of its block as it was. Names are then cut to their
// fields and terminated, and damaged values replaced by their defaults (sanitizeKeyRecords,
// sanitizeConfig), so nothing read can overrun a print or lock a player out. False when there
// is no readable package (everything stays as it was).
bool readSaveFile(const char* path, const SaveBlocks& blocks);

// Writes the save file at `path`. The package writer replaces the old file only when the new
// one is complete, so a failed save keeps the previous one. False when nothing was saved.
bool writeSaveFile(const char* path, const ScoreTable& scores, const KeyRecords& keys,
                   const Config& config);

}  // namespace vg
