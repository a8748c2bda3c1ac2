#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/SaveData.h"
#include "core/TaskArena.h"

namespace vg {

// The replay of a game: per stage, both players' carry-over records at the stage start and one
// input byte per player per frame. Every stage starts from the same random state, so these
// repeat the stage exactly. Kept in memory here and saved as a package file under "replay/".
//
// Replay file (a package, resources/Package.h), entries in this order:
//   "INDEX"            28 bytes, ReplayIndex
//   then for each stage slot s (0..5) and player p (0, 1) whose input block exists:
//   "STAGE_<s>"        44 bytes, ReplayStage (written again before each of its blocks;
//                      readers use the first)
//   "STAGE_<s>_DATA_<p>"  the player's input of the stage, one byte per frame, as one zlib
//                      stream (deflate, default level, window bits 15, memory level 8)
// A stage without any block has no entries: it is not in the file.

// The three settings that change the random sequence of play, so a replay stores its own and
// plays with them: grazing takes random draws ("Buzz"), and the tasks that "OpticalEffect" and
// "BulletChangeCount" add change how many effects (each with random draws) are made. 0 is each
// one's default, so files from before they were stored play as they were recorded.
struct ReplaySettings {
    uint8_t buzz = 0;
    uint8_t opticalEffect = 0;
    uint8_t bulletChangeCount = 0;

    bool operator==(const ReplaySettings&) const = default;
};

// The replay's header ("INDEX" entry), 28 bytes, little-endian:
//   0 name[10] (NUL-terminated, at most 9 characters), 10 difficulty, 11 reserved,
//   12 score of player 0 and 16 of player 1 at the end of the last recorded stage,
//   20 year mod 100, 21 month, 22 day, 23 hour, 24 minute,
//   25 "Buzz", 26 "OpticalEffect", 27 "BulletChangeCount" as recorded (0 in older files).
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
    uint8_t buzz = 0;
    uint8_t opticalEffect = 0;
    uint8_t bulletChangeCount = 0;
};
static_assert(sizeof(ReplayIndex) == 28);
static_assert(offsetof(ReplayIndex, difficulty) == 10);
static_assert(offsetof(ReplayIndex, score) == 12);
static_assert(offsetof(ReplayIndex, year) == 20);
static_assert(offsetof(ReplayIndex, minute) == 24);
static_assert(offsetof(ReplayIndex, buzz) == 25);
static_assert(offsetof(ReplayIndex, bulletChangeCount) == 27);

// One stage of the replay ("STAGE_%d" entry), 44 bytes: both players' records as at the stage
// start (their final-score field holds the score at the stage end), the frame count (0: the
// stage is not in the replay) and the byte sizes of the two compressed input blocks.
struct ReplayStage {
    PlayerRecord player[2];
    int32_t frameCount = 0;
    int32_t blockSize[2] = {};
};
static_assert(sizeof(ReplayStage) == 44);
static_assert(offsetof(ReplayStage, player) == 0);
static_assert(offsetof(ReplayStage, frameCount) == 32);
static_assert(offsetof(ReplayStage, blockSize) == 36);

// The date written into the INDEX by Save.
struct ReplayStamp {
    uint8_t year = 0;  // modulo 100
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
};

class ReplayData {
  public:
    static constexpr int kStageSlots = 6;
    // Stages a game has; the sixth slot is never filled (and never loaded).
    static constexpr int kGameStages = 5;
    static constexpr int kPlayers = 2;
    static constexpr int kDifficultyCount = 5;
    static constexpr int kSlotCount = 25;
    // All blocks and temporary buffers together fit in this many bytes.
    static constexpr uint32_t kArenaCapacity = 0x80010;
    // The longest stage a file may claim: its input must fit the arena as one buffer.
    static constexpr int32_t kMaxStageFrames = 0x80000;
    static constexpr const char* kFolder = "replay/";
    static constexpr const char* kDemoFileName = "demo.rpl";

    ReplayData();
    ~ReplayData();
    ReplayData(const ReplayData&) = delete;
    ReplayData& operator=(const ReplayData&) = delete;

    // Neither recording nor playing back; everything emptied; the name "no name". Puts the
    // player's own settings back into the bound Config if a playback had replaced them.
    void Reset();
    // A stage starts (StageInit, after the ships are made). Recording: empties the streams,
    // keeps the start records and stores the bound Config's play settings in the INDEX.
    // Playback: loads the stage's input (a player without input plays on 0 words, never on the
    // live controller) and puts the replay's play settings into the bound Config.
    void BeginStage(uint8_t difficulty, uint8_t stage, const PlayerRecord& player0,
                    const PlayerRecord& player1);
    // Once per game frame, not while paused: records the two input bytes, or replaces them
    // during playback. Once a player's recorded input is exhausted the live input stays.
    void Step(uint8_t& input0, uint8_t& input1);
    // A stage ends (or the game, at the continue screen): closes the stage's record with the
    // two scores and the frames stepped, and compresses the input. Only while recording.
    // False when an input block could not be made (the failure is reported on the debug
    // output and the stage is left out of the replay rather than kept with input missing).
    bool EndStage(int32_t score0, int32_t score1, uint8_t stage);
    // Closes the stage begun last, if EndStage has not closed it yet, at the current frame: for
    // a run that stops in the middle of a stage (the headless tool's short recordings). False
    // when no stage is open or the record could not be made.
    bool EndOpenStage(int32_t score0, int32_t score1);
    // True when `stage` >= 0 and its slot (stage mod 6) has a non-zero frame count.
    bool HasStage(int32_t stage) const;

    // Writes the replay as a package: INDEX (stamped with the local date and time), then the
    // stage and block entries. The file is written beside and renamed over `fileName` only when
    // complete, so a failed save (folder missing, read-only, disk full) keeps an earlier file.
    bool Save(const char* fileName);
    // As Save, with the date given (tests; repeatable files).
    bool Save(const char* fileName, const ReplayStamp& stamp);
    // Reset, then reads the file. Takes only what is sound: an INDEX of 28 bytes with a
    // difficulty 0..4 (else false, and everything stays reset), stage records of 44 bytes with a
    // frame count 0..kMaxStageFrames, blocks that fit the arena; ship types above 3 make an
    // absent player, power, energy, lives and bombs are clamped to what the ships can hold.
    bool Load(const char* fileName);
    // Reads only the header of a replay file (name terminated; the difficulty as stored, for
    // the list to show a bad one as an empty row). False without a 28-byte INDEX.
    static bool ReadIndex(const char* fileName, ReplayIndex& index);
    // Bit s (0..4) set when the file holds stage s in a form Load accepts. 0 for a file that
    // cannot be read or has no INDEX. `index`, when given, receives the header as ReadIndex
    // reads it (left alone without one): the list reads each file once.
    static uint8_t StageMask(const char* fileName, ReplayIndex* index = nullptr);
    // A replay that Load accepts: its difficulty is one the game has.
    static bool Playable(const ReplayIndex& index) { return index.difficulty < kDifficultyCount; }

    // "./replay//replay%02d.rpl" for slot 1..25 (the doubled slash is the file system's to
    // accept), and "./replay//<name>" for another file of the folder (the demo).
    static std::string SlotPath(int slot);
    static std::string FolderPath(const char* fileName);
    // Creates the replay folder if it is missing; false when it cannot exist.
    static bool MakeFolder();

    // Playback start (the replay screens, the attract mode, and StageInit before it makes the
    // ships): the start records of `stage` into `records`. False (records untouched) when the
    // replay does not hold the stage.
    bool StartRecords(int32_t stage, std::array<PlayerRecord, 2>& records) const;

    // The Config whose play settings recording stores and playback replaces (System binds its
    // own). Null: settings are neither stored nor applied.
    void bindConfig(Config* config) { config_ = config; }
    // `live` with the player's own play settings, while a playback has replaced them: what the
    // save file must hold.
    Config playerConfig(const Config& live) const;
    ReplaySettings settings() const;
    void setSettings(const ReplaySettings& settings);

    const ReplayIndex& index() const { return index_; }
    ReplayIndex& index() { return index_; }
    const ReplayStage& stageRecord(int32_t stage) const;
    // Frames stepped since the current stage started.
    int32_t frame() const { return frame_; }
    // The stage begun last and not yet closed, or -1.
    int32_t openStage() const { return openStage_; }
    // The current stage's input of `player` (recorded so far, or loaded for playback).
    const std::vector<uint8_t>& stream(int player) const { return streams_[player & 1]; }
    // The compressed block of `stage`, `player` (null if none) and its size in bytes.
    const uint8_t* block(int32_t stage, int player) const;
    const TaskArena& arena() const { return arena_; }

    uint8_t recording = 1;
    uint8_t playingBack = 0;

  private:
    void freeBlocks();
    // The input of `player` for `stage` (a loaded block), inflated into its stream.
    void loadStageInput(int stage, int player);
    // Compresses the stream of `player` into a new block of `stage`; false on failure.
    bool storeBlock(int stage, int player);
    void applySettings();
    void restorePlayerSettings();
    bool writeFile(const char* fileName);

    TaskArena arena_{kArenaCapacity};
    std::array<std::array<uint8_t*, kPlayers>, kStageSlots> blocks_{};
    ReplayIndex index_;
    std::array<ReplayStage, kStageSlots> stages_{};
    std::array<std::vector<uint8_t>, kPlayers> streams_;
    int32_t frame_ = 0;
    // Playback: whether the stage's input of each player was loaded; a player without it
    // plays on 0 words.
    std::array<bool, kPlayers> hasInput_{};
    int32_t openStage_ = -1;
    Config* config_ = nullptr;
    // The player's own settings while a playback has put the replay's into config_.
    bool holdsPlayerSettings_ = false;
    ReplaySettings playerSettings_;
};

}  // namespace vg
