#include "replay/ReplayData.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/Window.h"
#include "resources/Package.h"

namespace vg {

namespace {

constexpr const char* kIndexEntry = "INDEX";
constexpr const char* kNoName = "no name";
constexpr int32_t kMaxStock = 99;
constexpr int32_t kMaxEnergy = 64;
// The highest power each ship type fires with: "TYPE-A" 5, "TYPE-B" none (above 5 fires as 5),
// "TYPE-A2" 4, "TYPE-B2" none.
constexpr uint8_t kHighestPower[4] = {5, 5, 4, 5};

std::string stageEntryName(int stage) {
    char name[32];
    std::snprintf(name, sizeof name, "STAGE_%d", stage);
    return name;
}

std::string dataEntryName(int stage, int player) {
    char name[48];
    std::snprintf(name, sizeof name, "%s_DATA_%d", stageEntryName(stage).c_str(), player);
    return name;
}

std::string trailEntryName(int stage) {
    return stageEntryName(stage) + "_CHECK";
}

// A failure of the compressor or decompressor, as zlib words it.
void reportZlib(const z_stream& stream) {
    debugOutput(stream.msg ? stream.msg : "UnknownError!");
    debugOutput("\n");
}

// A record from a file, made safe for the ships and every table it reaches: a ship type above
// 3 is an absent player; lives, bombs, energy and power stay within what a ship can hold.
PlayerRecord soundRecord(PlayerRecord record) {
    if (record.shipType > 3) {
        record.shipType = 255;
        record.lives = -1;
    }
    record.lives = static_cast<int8_t>(std::min<int32_t>(record.lives, kMaxStock));
    record.bombs = static_cast<uint8_t>(std::min<int32_t>(record.bombs, kMaxStock));
    record.energy = std::clamp(record.energy, int32_t{0}, kMaxEnergy);
    const uint8_t highest = record.shipType < 4 ? kHighestPower[record.shipType] : 5;
    record.power = std::min(record.power, highest);
    return record;
}

// The 28-byte INDEX of an open package; false when it is missing or of another size.
bool readIndexEntry(PackageReader& reader, ReplayIndex& index) {
    ReplayIndex read;
    if (!reader.findEntry(kIndexEntry) || reader.entrySize() != sizeof read) return false;
    reader.readEntry(sizeof read, &read);
    if (reader.readPosition() != sizeof read) return false;
    // The list prints the name with %s: it must end inside its field.
    read.name[sizeof read.name - 1] = '\0';
    index = read;
    return true;
}

// The STAGE record of slot `stage` of an open package, made sound; false when the entry is
// missing, of another size, or claims a frame count the replay cannot hold (the stage is then
// not in the replay).
bool readStageEntry(PackageReader& reader, int stage, ReplayStage& record) {
    ReplayStage read;
    if (!reader.findEntry(stageEntryName(stage).c_str()) || reader.entrySize() != sizeof read) {
        return false;
    }
    reader.readEntry(sizeof read, &read);
    if (reader.readPosition() != sizeof read) return false;
    if (read.frameCount <= 0 || read.frameCount > ReplayData::kMaxStageFrames) return false;
    for (PlayerRecord& player : read.player) player = soundRecord(player);
    // The sizes are taken from the blocks actually read.
    read.blockSize[0] = 0;
    read.blockSize[1] = 0;
    record = read;
    return true;
}

// Whether `block` inflates to exactly `frames` bytes: one whole zlib stream, no byte short and
// none over (what may follow the stream is not looked at). Inflates in small steps, so even the
// longest stage needs no buffer of its size.
bool inflatesExactly(const uint8_t* block, uint32_t size, uint32_t frames) {
    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK) return false;
    inflater.next_in = const_cast<Bytef*>(block);
    inflater.avail_in = size;
    uint8_t chunk[4096];
    int result = Z_OK;
    while (result == Z_OK && inflater.total_out <= frames) {
        inflater.next_out = chunk;
        inflater.avail_out = sizeof chunk;
        result = inflate(&inflater, Z_NO_FLUSH);
        // Z_BUF_ERROR: no progress possible, the stream is cut short.
    }
    const bool whole = result == Z_STREAM_END && inflater.total_out == frames;
    inflateEnd(&inflater);
    return whole;
}

// The blocks of stage `stage` of an open package (record already read) into `blocks`, taken
// from `arena`, and their sizes into `record`. False when the stage is damaged: a block that
// cannot be held or does not inflate to exactly the frame count, or none for a player present
// at the start. `blocks` then holds nothing.
bool readStageBlocks(PackageReader& reader, int stage, ReplayStage& record, TaskArena& arena,
                     std::array<uint8_t*, ReplayData::kPlayers>& blocks) {
    bool whole = true;
    for (int p = 0; p < ReplayData::kPlayers; ++p) {
        blocks[p] = nullptr;
        record.blockSize[p] = 0;
        if (!reader.findEntry(dataEntryName(stage, p).c_str())) {
            whole = whole && !record.player[p].present();
            continue;
        }
        // The package reader never lists an entry past the end of the file; the arena refuses
        // what it cannot hold.
        const uint32_t size = reader.entrySize();
        auto* block = size == 0 || size > ReplayData::kArenaCapacity
                          ? nullptr
                          : static_cast<uint8_t*>(arena.arenaAlloc(size));
        if (block) {
            reader.readEntry(size, block);
            const uint32_t got = reader.readPosition();
            if (got > 0 && inflatesExactly(block, got, static_cast<uint32_t>(record.frameCount))) {
                blocks[p] = block;
                record.blockSize[p] = static_cast<int32_t>(got);
                continue;
            }
            arena.arenaFree(block);
        }
        whole = false;
    }
    if (!whole) {
        for (int p = 0; p < ReplayData::kPlayers; ++p) {
            arena.arenaFree(blocks[p]);
            blocks[p] = nullptr;
            record.blockSize[p] = 0;
        }
    }
    return whole;
}

// The trail of stage `stage` of an open package, as far as it is sound (empty without one).
std::vector<TrailMark> readTrailEntry(PackageReader& reader, int stage, int32_t frameCount) {
    if (!reader.findEntry(trailEntryName(stage).c_str())) return {};
    // A sound trail has at most one mark per frame: more is not read.
    const uint64_t most = uint64_t{sizeof(TrailMark)} * static_cast<uint64_t>(frameCount);
    const auto size = static_cast<uint32_t>(std::min<uint64_t>(reader.entrySize(), most));
    std::vector<uint8_t> bytes(size);
    reader.readEntry(size, bytes.data());
    return ReplayData::ReadTrail(bytes.data(), reader.readPosition(), frameCount);
}

// The play settings `config` holds, and `config` given `settings`.
ReplaySettings settingsOf(const Config& config) {
    return ReplaySettings{config.buzz, config.opticalEffect, config.bulletChangeCount};
}

void putSettings(Config& config, const ReplaySettings& settings) {
    config.buzz = settings.buzz;
    config.opticalEffect = settings.opticalEffect;
    config.bulletChangeCount = settings.bulletChangeCount;
}

ReplayStamp localStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return {};
    return ReplayStamp{static_cast<uint8_t>(local.tm_year % 100),
                       static_cast<uint8_t>(local.tm_mon + 1), static_cast<uint8_t>(local.tm_mday),
                       static_cast<uint8_t>(local.tm_hour), static_cast<uint8_t>(local.tm_min)};
}

}  // namespace

ReplayData::ReplayData() {
    // As built: an empty replay that records.
    std::strcpy(index_.name, kNoName);
}

ReplayData::~ReplayData() = default;

void ReplayData::Reset() {
    restorePlayerSettings();
    restorePlayerChoice();
    recording = 0;
    playingBack = 0;
    frame_ = 0;
    openStage_ = -1;
    hasInput_ = {};
    damaged_ = 0;
    for (auto& stream : streams_) stream.clear();
    index_ = ReplayIndex{};
    std::strcpy(index_.name, kNoName);
    stages_ = {};
    for (auto& trail : trails_) trail.clear();
    marksTaken_.clear();
    markedStage_ = -1;
    nextMark_ = 0;
    departure_ = -1;
    freeBlocks();
    arena_.compact();
}

void ReplayData::StartPlayback() {
    holdPlayerChoice();
    recording = 0;
    playingBack = 1;
}

void ReplayData::freeBlocks() {
    for (auto& stage : blocks_) {
        for (uint8_t*& block : stage) {
            arena_.arenaFree(block);
            block = nullptr;
        }
    }
}

void ReplayData::BeginStage(uint8_t difficulty, uint8_t stage, const PlayerRecord& player0,
                            const PlayerRecord& player1) {
    index_.difficulty = difficulty;
    frame_ = 0;
    openStage_ = stage;
    markedStage_ = stage;
    marksTaken_.clear();
    nextMark_ = 0;
    departure_ = -1;
    if (recording) {
        for (auto& stream : streams_) stream.clear();
        // A recording never plays with a replay's settings, and keeps the ones it plays with.
        // The game it records is the player's choice now: nothing is put back over it.
        restorePlayerSettings();
        holdsPlayerChoice_ = false;
        if (game_.config) setSettings(settingsOf(*game_.config));
        if (stage < kGameStages) {
            stages_[stage].player[0] = player0;
            stages_[stage].player[1] = player1;
        }
    } else if (playingBack) {
        // Both streams start empty at every stage, so a stage never plays on the input of the
        // one before, and a player without input plays on 0 words.
        for (int p = 0; p < kPlayers; ++p) {
            streams_[p].clear();
            hasInput_[p] = false;
            if (stage < kGameStages) loadStageInput(stage, p);
        }
        applySettings();
    }
}

void ReplayData::loadStageInput(int stage, int player) {
    const ReplayStage& record = stages_[stage];
    const uint8_t* block = blocks_[stage][player];
    if (!block || record.frameCount <= 0 || record.blockSize[player] <= 0) return;
    const auto frames = static_cast<uint32_t>(record.frameCount);
    std::vector<uint8_t>& stream = streams_[player];
    // Load has checked that the block inflates to exactly the frame count; the input goes
    // straight into the stream.
    stream.assign(frames, 0);
    z_stream inflater{};
    bool ok = inflateInit(&inflater) == Z_OK;
    if (ok) {
        inflater.next_in = const_cast<Bytef*>(block);
        inflater.avail_in = static_cast<uInt>(record.blockSize[player]);
        inflater.next_out = stream.data();
        inflater.avail_out = frames;
        const int result = inflate(&inflater, Z_FINISH);
        ok = result == Z_STREAM_END && inflater.total_out == frames;
        inflateEnd(&inflater);
    }
    if (!ok) {
        reportZlib(inflater);
        std::fill(stream.begin(), stream.end(), uint8_t{0});
    }
    hasInput_[player] = true;
}

void ReplayData::Step(uint8_t& input0, uint8_t& input1) {
    uint8_t* inputs[kPlayers] = {&input0, &input1};
    if (playingBack) {
        for (int p = 0; p < kPlayers; ++p) {
            const std::vector<uint8_t>& stream = streams_[p];
            if (!hasInput_[p]) {
                *inputs[p] = 0;
            } else if (static_cast<size_t>(frame_) < stream.size()) {
                *inputs[p] = stream[static_cast<size_t>(frame_)];
            }
        }
    } else if (recording) {
        for (int p = 0; p < kPlayers; ++p) {
            // Past the longest stage a replay can hold nothing more is kept; EndStage then
            // reports the stage as too long.
            if (streams_[p].size() < static_cast<size_t>(kMaxStageFrames)) {
                streams_[p].push_back(*inputs[p]);
            }
        }
    } else {
        return;
    }
    markTrail();
    if (frame_ < INT32_MAX) ++frame_;
}

void ReplayData::markTrail() {
    if (!game_.tasks || frame_ <= 0 || openStage_ < 0 || openStage_ >= kGameStages) return;
    const std::vector<TrailMark>& trail = trails_[static_cast<size_t>(openStage_)];
    const bool compared =
        playingBack && nextMark_ < trail.size() && trail[nextMark_].frame == frame_;
    const bool due = frame_ % kTrailInterval == 0;
    if (!compared && !due) return;
    const uint32_t digest = digest_(*game_.tasks);
    if (due && marksTaken_.size() < static_cast<size_t>(kMaxStageFrames / kTrailInterval)) {
        marksTaken_.push_back(TrailMark{frame_, digest});
    }
    if (!compared) return;
    if (trail[nextMark_].digest != digest && departure_ < 0) {
        departure_ = frame_;
        char line[80];
        std::snprintf(line, sizeof line, "replay departs from its record at frame %d.\n", frame_);
        debugOutput(line);
    }
    ++nextMark_;
}

int32_t ReplayData::trailDeparture(bool stageOver) const {
    // The stage may have been closed already (its hand-over): the marks are those of the stage
    // begun last.
    if (!playingBack || departure_ >= 0 || !stageOver || markedStage_ < 0 ||
        markedStage_ >= kGameStages) {
        return departure_;
    }
    const std::vector<TrailMark>& trail = trails_[static_cast<size_t>(markedStage_)];
    return nextMark_ < trail.size() ? trail[nextMark_].frame : -1;
}

bool ReplayData::EndStage(int32_t score0, int32_t score1, uint8_t stage) {
    if (stage == openStage_) openStage_ = -1;
    if (!recording) return true;
    if (stage >= kGameStages) return false;
    ReplayStage& record = stages_[stage];
    record.player[0].finalScore = score0;
    record.player[1].finalScore = score1;
    index_.score[0] = score0;
    index_.score[1] = score1;
    record.frameCount = frame_;
    for (int p = 0; p < kPlayers; ++p) {
        arena_.arenaFree(blocks_[stage][p]);
        blocks_[stage][p] = nullptr;
        record.blockSize[p] = 0;
    }
    trails_[stage] = marksTaken_;
    if (frame_ == 0) {
        trails_[stage].clear();
        return true;
    }

    bool ok = frame_ <= kMaxStageFrames;
    for (int p = 0; ok && p < kPlayers; ++p) {
        const std::vector<uint8_t>& stream = streams_[p];
        if (stream.size() != static_cast<size_t>(frame_)) {
            ok = false;
            break;
        }
        // A player absent at the stage start needs a block only if it pressed something (it
        // may have joined): a one-player game stores no block for the other player.
        const bool pressed = std::any_of(stream.begin(), stream.end(), [](uint8_t b) { return b; });
        if (record.player[p].present() || pressed) ok = storeBlock(stage, p);
    }
    if (!ok) {
        // A stage with input missing would replay as something else: it is left out.
        debugOutput("replay stage not stored.\n");
        for (int p = 0; p < kPlayers; ++p) {
            arena_.arenaFree(blocks_[stage][p]);
            blocks_[stage][p] = nullptr;
            record.blockSize[p] = 0;
        }
        record.frameCount = 0;
        trails_[stage].clear();
    }
    return ok;
}

bool ReplayData::storeBlock(int stage, int player) {
    const std::vector<uint8_t>& stream = streams_[player];
    // zlib's own bound: incompressible input still fits.
    const uLong bound = compressBound(static_cast<uLong>(stream.size()));
    auto* buffer = static_cast<uint8_t*>(arena_.arenaAlloc(bound));
    if (!buffer) {
        debugOutput("replay arena full.\n");
        return false;
    }
    z_stream deflater{};
    bool ok = deflateInit2(&deflater, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8,
                           Z_DEFAULT_STRATEGY) == Z_OK;
    if (ok) {
        deflater.next_in = const_cast<Bytef*>(stream.data());
        deflater.avail_in = static_cast<uInt>(stream.size());
        deflater.next_out = buffer;
        deflater.avail_out = static_cast<uInt>(bound);
        ok = deflate(&deflater, Z_FINISH) == Z_STREAM_END;
        if (!ok) reportZlib(deflater);
        deflateEnd(&deflater);
    } else {
        reportZlib(deflater);
    }
    uint8_t* block = nullptr;
    const auto size = static_cast<uint32_t>(deflater.total_out);
    if (ok) {
        block = static_cast<uint8_t*>(arena_.arenaAlloc(size));
        if (block) {
            std::memcpy(block, buffer, size);
        } else {
            debugOutput("replay arena full.\n");
        }
    }
    arena_.arenaFree(buffer);
    if (!block) return false;
    blocks_[stage][player] = block;
    stages_[stage].blockSize[player] = static_cast<int32_t>(size);
    return true;
}

bool ReplayData::EndOpenStage(int32_t score0, int32_t score1) {
    if (openStage_ < 0 || openStage_ >= kGameStages) return false;
    return EndStage(score0, score1, static_cast<uint8_t>(openStage_));
}

bool ReplayData::HasStage(int32_t stage) const {
    return stage >= 0 && stages_[static_cast<size_t>(stage % kStageSlots)].frameCount != 0;
}

bool ReplayData::StartRecords(int32_t stage, std::array<PlayerRecord, 2>& records) const {
    if (!HasStage(stage)) return false;
    const ReplayStage& record = stages_[static_cast<size_t>(stage % kStageSlots)];
    records[0] = record.player[0];
    records[1] = record.player[1];
    return true;
}

bool ReplayData::Save(const char* fileName) {
    return Save(fileName, localStamp());
}

bool ReplayData::Save(const char* fileName, const ReplayStamp& stamp) {
    index_.year = stamp.year;
    index_.month = stamp.month;
    index_.day = stamp.day;
    index_.hour = stamp.hour;
    index_.minute = stamp.minute;
    return writeFile(fileName);
}

bool ReplayData::writeFile(const char* fileName) {
    PackageWriter writer;
    if (!writer.createPackage(fileName)) return false;
    bool ok = writer.writeEntry(&index_, sizeof index_, kIndexEntry);
    for (int s = 0; s < kStageSlots; ++s) {
        bool written = false;
        for (int p = 0; p < kPlayers; ++p) {
            const uint8_t* block = blocks_[s][p];
            if (!block || stages_[s].blockSize[p] <= 0) continue;
            ok = ok && writer.writeEntry(&stages_[s], sizeof stages_[s], stageEntryName(s).c_str());
            ok = ok && writer.writeEntry(block, static_cast<uint32_t>(stages_[s].blockSize[p]),
                                         dataEntryName(s, p).c_str());
            written = true;
        }
        const std::vector<TrailMark>& trail = trails_[s];
        if (written && !trail.empty()) {
            ok = ok && writer.writeEntry(trail.data(),
                                         static_cast<uint32_t>(trail.size() * sizeof(TrailMark)),
                                         trailEntryName(s).c_str());
        }
    }
    // closePackage replaces the file only when every write went through.
    if (!ok) {
        writer.abandonPackage();
        return false;
    }
    return writer.closePackage();
}

bool ReplayData::Load(const char* fileName) {
    Reset();
    PackageReader reader;
    ReplayIndex index;
    if (!reader.openPackage(fileName) || !readIndexEntry(reader, index)) {
        debugOutput("replay index not found.\n");
        return false;
    }
    // A difficulty the game does not have would index its tables: the file cannot be played.
    if (!Playable(index)) return false;
    index_ = index;
    for (int s = 0; s < kGameStages; ++s) {
        ReplayStage record;
        if (!readStageEntry(reader, s, record)) continue;
        if (!readStageBlocks(reader, s, record, arena_, blocks_[s])) {
            debugOutput("replay stage damaged.\n");
            damaged_ |= static_cast<uint8_t>(1u << s);
            continue;
        }
        stages_[s] = record;
        trails_[s] = readTrailEntry(reader, s, record.frameCount);
    }
    return true;
}

bool ReplayData::ReadIndex(const char* fileName, ReplayIndex& index) {
    PackageReader reader;
    return reader.openPackage(fileName) && readIndexEntry(reader, index);
}

uint8_t ReplayData::StageMask(const char* fileName, ReplayIndex* index, uint8_t* damaged) {
    if (damaged) *damaged = 0;
    PackageReader reader;
    ReplayIndex header;
    if (!reader.openPackage(fileName) || !readIndexEntry(reader, header)) return 0;
    if (index) *index = header;
    uint8_t mask = 0;
    TaskArena arena(kArenaCapacity);
    for (int s = 0; s < kGameStages; ++s) {
        ReplayStage record;
        if (!readStageEntry(reader, s, record)) continue;
        std::array<uint8_t*, kPlayers> blocks{};
        const uint8_t bit = static_cast<uint8_t>(1u << s);
        if (readStageBlocks(reader, s, record, arena, blocks)) {
            mask |= bit;
        } else if (damaged) {
            *damaged |= bit;
        }
        for (uint8_t* block : blocks) arena.arenaFree(block);
    }
    return mask;
}

std::vector<TrailMark> ReplayData::ReadTrail(const uint8_t* data, size_t size, int32_t frameCount) {
    std::vector<TrailMark> marks;
    int32_t last = 0;
    for (size_t at = 0; data && size - at >= sizeof(TrailMark); at += sizeof(TrailMark)) {
        TrailMark mark;
        std::memcpy(&mark, data + at, sizeof mark);
        if (mark.frame <= last || mark.frame >= frameCount) break;
        marks.push_back(mark);
        last = mark.frame;
    }
    return marks;
}

std::string ReplayData::SlotPath(int slot) {
    char path[64];
    std::snprintf(path, sizeof path, "./%s/replay%02d.rpl", kFolder, slot);
    return path;
}

std::string ReplayData::FolderPath(const char* fileName) {
    return std::string("./") + kFolder + "/" + (fileName ? fileName : "");
}

bool ReplayData::MakeFolder() {
    if (mkdir(kFolder, 0777) == 0 || errno == EEXIST) {
        struct stat info {};
        return stat(kFolder, &info) == 0 && S_ISDIR(info.st_mode);
    }
    return false;
}

const uint8_t* ReplayData::block(int32_t stage, int player) const {
    if (stage < 0 || stage >= kStageSlots) return nullptr;
    return blocks_[static_cast<size_t>(stage)][player & 1];
}

const ReplayStage& ReplayData::stageRecord(int32_t stage) const {
    return stages_[static_cast<size_t>((stage % kStageSlots + kStageSlots) % kStageSlots)];
}

void ReplayData::setStageScores(int32_t stage, int32_t score0, int32_t score1) {
    if (!HasStage(stage)) return;
    ReplayStage& record = stages_[static_cast<size_t>(stage % kStageSlots)];
    record.player[0].finalScore = score0;
    record.player[1].finalScore = score1;
}

const std::vector<TrailMark>& ReplayData::trail(int32_t stage) const {
    return trails_[static_cast<size_t>((stage % kStageSlots + kStageSlots) % kStageSlots)];
}

void ReplayData::setTrail(int32_t stage, std::vector<TrailMark> marks) {
    if (!HasStage(stage)) return;
    const int32_t frames = stages_[static_cast<size_t>(stage % kStageSlots)].frameCount;
    // Only what a reader would take back.
    std::vector<TrailMark> sound = ReadTrail(reinterpret_cast<const uint8_t*>(marks.data()),
                                             marks.size() * sizeof(TrailMark), frames);
    trails_[static_cast<size_t>(stage % kStageSlots)] = std::move(sound);
}

ReplaySettings ReplayData::settings() const {
    return ReplaySettings{index_.buzz, index_.opticalEffect, index_.bulletChangeCount};
}

void ReplayData::setSettings(const ReplaySettings& settings) {
    index_.buzz = settings.buzz;
    index_.opticalEffect = settings.opticalEffect;
    index_.bulletChangeCount = settings.bulletChangeCount;
}

void ReplayData::applySettings() {
    if (!game_.config) return;
    if (!holdsPlayerSettings_) {
        playerSettings_ = settingsOf(*game_.config);
        holdsPlayerSettings_ = true;
    }
    putSettings(*game_.config, settings());
}

void ReplayData::restorePlayerSettings() {
    if (!holdsPlayerSettings_) return;
    if (game_.config) putSettings(*game_.config, playerSettings_);
    holdsPlayerSettings_ = false;
}

void ReplayData::holdPlayerChoice() {
    // A playback started during another keeps the choice the player made before the first.
    if (holdsPlayerChoice_) return;
    if (game_.difficulty) playerChoice_.difficulty = *game_.difficulty;
    if (game_.stageIndex) playerChoice_.stageIndex = *game_.stageIndex;
    if (game_.playMode) playerChoice_.playMode = *game_.playMode;
    if (game_.records) playerChoice_.records = *game_.records;
    holdsPlayerChoice_ = true;
}

void ReplayData::restorePlayerChoice() {
    if (!holdsPlayerChoice_) return;
    if (game_.difficulty) *game_.difficulty = playerChoice_.difficulty;
    if (game_.stageIndex) *game_.stageIndex = playerChoice_.stageIndex;
    if (game_.playMode) *game_.playMode = playerChoice_.playMode;
    if (game_.records) *game_.records = playerChoice_.records;
    holdsPlayerChoice_ = false;
}

Config ReplayData::playerConfig(const Config& live) const {
    Config config = live;
    if (holdsPlayerSettings_) putSettings(config, playerSettings_);
    return config;
}

}  // namespace vg
