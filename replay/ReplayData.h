#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/SaveData.h"
#include "core/TaskArena.h"
#include "replay/PlayDigest.h"

namespace vg {

class TaskManager;

// The replay of a game: per stage, both players' carry-over records at the stage start and one
// input byte per player per frame. Every stage starts from the same random state, so these
// repeat the stage exactly. Kept in memory here and saved as a package file under "replay/".
//
// Replay file (a package, resources/Package.h), entries in this order:
//   "INDEX"            28 bytes, ReplayIndex
//   then for each stage slot s (0..5) whose input blocks exist:
//     for each player p (0, 1) whose block exists:
//       "STAGE_<s>"        44 bytes, ReplayStage (written again before each of its blocks;
//                          readers use the first)
//       "STAGE_<s>_DATA_<p>"  the player's input of the stage, one byte per frame, as one zlib
//                          stream (deflate, default level, window bits 15, memory level 8);
//                          it inflates to exactly the stage's frame count
//     "STAGE_<s>_CHECK"  the stage's check trail, TrailMark after TrailMark (8 bytes each) in
//                        frame order; only in files recorded since the trail exists (readers
//                        find entries by name, so older readers pass over it)
// A stage without any block has no entries: it is not in the file.
//
// A stage is damaged when a block does not inflate to exactly its frame count, or a player
// present at its start has no block (a file cut short loses its last entries): Load leaves it
// out and the list says so, rather than playing it on input that is not there.

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

// One mark of a stage's check trail ("STAGE_%d_CHECK" entry), 8 bytes, little-endian: the
// digest of the state of play (replay/PlayDigest.h) after `frame` recorded frames of the stage.
// Recording takes a mark every kTrailInterval frames; playback compares the state with each
// mark and names the first frame where play departs from the recording. A reader takes marks
// as long as they are sound: whole, in rising frame order and inside the stage (1 .. frame count
// - 1), and stops at the first that is not.
struct TrailMark {
    int32_t frame = 0;
    uint32_t digest = 0;

    bool operator==(const TrailMark&) const = default;
};
static_assert(sizeof(TrailMark) == 8);
static_assert(offsetof(TrailMark, frame) == 0);
static_assert(offsetof(TrailMark, digest) == 4);

// The date written into the INDEX by Save.
struct ReplayStamp {
    uint8_t year = 0;  // modulo 100
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
};

// What of the game a replay reads and changes (System binds its own members): the play settings
// that recording stores and playback replaces, the game's choice that playback replaces and
// puts back when it ends, and the tasks whose state the check trail digests. Any of them may be
// null: that part is then left alone.
struct ReplayBinding {
    Config* config = nullptr;
    uint8_t* difficulty = nullptr;
    uint8_t* stageIndex = nullptr;
    uint8_t* playMode = nullptr;
    std::array<PlayerRecord, 2>* records = nullptr;
    const TaskManager* tasks = nullptr;
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
    // A stage record is taken with a frame count of 1 .. kMaxStageFrames (0 is a stage that is
    // not in the replay; a negative or larger count leaves the stage out as unsound), and a
    // recording keeps at most this many frames of a stage: a player's whole input of a stage must
    // fit the arena in one buffer.
    static constexpr int32_t kMaxStageFrames = 0x80000;
    // Recorded frames between two marks of the check trail.
    static constexpr int32_t kTrailInterval = 60;
    static constexpr const char* kFolder = "replay/";
    static constexpr const char* kDemoFileName = "demo.rpl";

    ReplayData();
    ~ReplayData();
    ReplayData(const ReplayData&) = delete;
    ReplayData& operator=(const ReplayData&) = delete;

    // Neither recording nor playing back; everything emptied; the name "no name". Ends a
    // playback: puts the player's own play settings and game choice back into the bound game.
    void Reset();
    // Playback begins (the replay screens, the attract mode): keeps the bound game's choice
    // (difficulty, stage, ships, play mode) and play settings to be put back by Reset, and
    // turns recording off and playback on. The caller then sets the replay's choice.
    void StartPlayback();
    // A stage starts (StageInit, after the ships are made). Recording: empties the streams,
    // keeps the start records and stores the bound Config's play settings in the INDEX.
    // Playback: loads the stage's input (a player without input plays on 0 words, never on the
    // live controller) and puts the replay's play settings into the bound Config.
    void BeginStage(uint8_t difficulty, uint8_t stage, const PlayerRecord& player0,
                    const PlayerRecord& player1);
    // Once per game frame, not while paused: records the two input bytes, or replaces them
    // during playback. Once a player's recorded input is exhausted the live input stays. Every
    // kTrailInterval frames (before the frame's update) it takes a mark of the check trail from
    // the bound tasks; during playback it compares the state with the stage's trail.
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
    // stage, block and trail entries. The file is written beside and renamed over `fileName` only
    // when complete, so a failed save (folder missing, read-only, disk full) keeps an earlier
    // file.
    bool Save(const char* fileName);
    // As Save, with the date given (tests; repeatable files).
    bool Save(const char* fileName, const ReplayStamp& stamp);
    // Reset, then reads the file. Takes only what is sound: an INDEX of 28 bytes with a
    // difficulty 0..4 (else false, and everything stays reset), stage records of 44 bytes with a
    // frame count 1..kMaxStageFrames whose input is whole (a damaged stage is left out and
    // noted in damagedStages), blocks that fit the arena, trail marks as far as they are sound;
    // ship types above 3 make an absent player, power, energy, lives and bombs are clamped to
    // what the ships can hold.
    bool Load(const char* fileName);
    // Reads only the header of a replay file (name terminated; the difficulty as stored, for
    // the list to show a bad one as an empty row). False without a 28-byte INDEX.
    static bool ReadIndex(const char* fileName, ReplayIndex& index);
    // Bit s (0..4) set when the file holds stage s in a form Load accepts. 0 for a file that
    // cannot be read or has no INDEX. `index`, when given, receives the header as ReadIndex
    // reads it (left alone without one): the list reads each file once. `damaged`, when given,
    // receives the stages whose record is sound but whose input is damaged (Load leaves them
    // out).
    static uint8_t StageMask(const char* fileName, ReplayIndex* index = nullptr,
                             uint8_t* damaged = nullptr);
    // A replay that Load accepts: its difficulty is one the game has.
    static bool Playable(const ReplayIndex& index) { return index.difficulty < kDifficultyCount; }
    // The marks of a "STAGE_%d_CHECK" entry of `size` bytes, as far as they are sound for a
    // stage of `frameCount` frames (see TrailMark).
    static std::vector<TrailMark> ReadTrail(const uint8_t* data, size_t size, int32_t frameCount);

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

    // The game this replay records from and plays back into (System binds its own).
    void bindGame(const ReplayBinding& binding) { game_ = binding; }
    // `live` with the player's own play settings, while a playback has replaced them: what the
    // save file must hold.
    Config playerConfig(const Config& live) const;
    ReplaySettings settings() const;
    void setSettings(const ReplaySettings& settings);

    const ReplayIndex& index() const { return index_; }
    ReplayIndex& index() { return index_; }
    const ReplayStage& stageRecord(int32_t stage) const;
    // The end scores of a held stage (a re-recording writes what its play gave).
    void setStageScores(int32_t stage, int32_t score0, int32_t score1);
    // Stages of the last file loaded whose record is sound but whose input is damaged.
    uint8_t damagedStages() const { return damaged_; }
    // Frames stepped since the current stage started.
    int32_t frame() const { return frame_; }
    // The stage begun last and not yet closed, or -1.
    int32_t openStage() const { return openStage_; }
    // The current stage's input of `player` (recorded so far, or loaded for playback).
    const std::vector<uint8_t>& stream(int player) const { return streams_[player & 1]; }
    // The compressed block of `stage`, `player` (null if none) and its size in bytes.
    const uint8_t* block(int32_t stage, int player) const;
    const TaskArena& arena() const { return arena_; }

    // The check trail of `stage`: as recorded, or as loaded (empty when the file has none).
    const std::vector<TrailMark>& trail(int32_t stage) const;
    // Replaces the trail of a held stage (a re-recording writes the marks its play took).
    void setTrail(int32_t stage, std::vector<TrailMark> marks);
    // The marks taken since the current stage started, recording or playing back.
    const std::vector<TrailMark>& marksTaken() const { return marksTaken_; }
    // Playback: the frame of the first mark of the stage's trail that play did not match, or of
    // the first mark play has not reached yet when `stageOver`; -1 when none departs.
    int32_t trailDeparture(bool stageOver) const;

    uint8_t recording = 1;
    uint8_t playingBack = 0;

  private:
    // The player's game choice while a playback has put the replay's into the bound game.
    struct GameChoice {
        uint8_t difficulty = 0;
        uint8_t stageIndex = 0;
        uint8_t playMode = 0;
        std::array<PlayerRecord, 2> records{};
    };

    void freeBlocks();
    // The input of `player` for `stage` (a loaded block), inflated into its stream.
    void loadStageInput(int stage, int player);
    // Compresses the stream of `player` into a new block of `stage`; false on failure.
    bool storeBlock(int stage, int player);
    // Every kTrailInterval frames, and at the frames of the trail being played back: a mark.
    void markTrail();
    void applySettings();
    void restorePlayerSettings();
    void holdPlayerChoice();
    void restorePlayerChoice();
    bool writeFile(const char* fileName);

    TaskArena arena_{kArenaCapacity};
    std::array<std::array<uint8_t*, kPlayers>, kStageSlots> blocks_{};
    ReplayIndex index_;
    std::array<ReplayStage, kStageSlots> stages_{};
    std::array<std::vector<TrailMark>, kStageSlots> trails_;
    std::array<std::vector<uint8_t>, kPlayers> streams_;
    int32_t frame_ = 0;
    // Playback: whether the stage's input of each player was loaded; a player without it
    // plays on 0 words.
    std::array<bool, kPlayers> hasInput_{};
    int32_t openStage_ = -1;
    uint8_t damaged_ = 0;
    // The marks of the current stage; during playback, where the comparison with the stage's
    // trail stands and the first mark that did not match.
    std::vector<TrailMark> marksTaken_;
    int32_t markedStage_ = -1;
    size_t nextMark_ = 0;
    int32_t departure_ = -1;
    PlayDigest digest_;
    ReplayBinding game_;
    // The player's own settings while a playback has put the replay's into the bound Config.
    bool holdsPlayerSettings_ = false;
    ReplaySettings playerSettings_;
    bool holdsPlayerChoice_ = false;
    GameChoice playerChoice_;
};

}  // namespace vg
