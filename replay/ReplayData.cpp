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
    recording = 0;
    playingBack = 0;
    frame_ = 0;
    openStage_ = -1;
    hasInput_ = {};
    for (auto& stream : streams_) stream.clear();
    index_ = ReplayIndex{};
    std::strcpy(index_.name, kNoName);
    stages_ = {};
    freeBlocks();
    arena_.compact();
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
    if (recording) {
        for (auto& stream : streams_) stream.clear();
        // A recording never plays with a replay's settings, and keeps the ones it plays with.
        restorePlayerSettings();
        if (config_) setSettings(settingsOf(*config_));
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
    auto* buffer = static_cast<uint8_t*>(arena_.arenaAlloc(frames));
    // No room: the input is absent, and the player plays on 0 words.
    if (!buffer) return;
    std::memset(buffer, 0, frames);

    z_stream inflater{};
    bool ok = inflateInit(&inflater) == Z_OK;
    if (ok) {
        // At most what was read in, at most the frame count out.
        inflater.next_in = const_cast<Bytef*>(block);
        inflater.avail_in = static_cast<uInt>(record.blockSize[player]);
        inflater.next_out = buffer;
        inflater.avail_out = frames;
        const int result = inflate(&inflater, Z_FINISH);
        // The input must be exactly one byte per frame.
        ok = result == Z_STREAM_END && inflater.total_out == frames;
        inflateEnd(&inflater);
    }
    if (!ok) {
        reportZlib(inflater);
        std::memset(buffer, 0, frames);
    }
    streams_[player].assign(buffer, buffer + frames);
    hasInput_[player] = true;
    arena_.arenaFree(buffer);
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
    if (frame_ < INT32_MAX) ++frame_;
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
    if (frame_ == 0) return true;

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
        for (int p = 0; p < kPlayers; ++p) {
            const uint8_t* block = blocks_[s][p];
            if (!block || stages_[s].blockSize[p] <= 0) continue;
            ok = ok && writer.writeEntry(&stages_[s], sizeof stages_[s], stageEntryName(s).c_str());
            ok = ok && writer.writeEntry(block, static_cast<uint32_t>(stages_[s].blockSize[p]),
                                         dataEntryName(s, p).c_str());
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
        for (int p = 0; p < kPlayers; ++p) {
            if (!reader.findEntry(dataEntryName(s, p).c_str())) continue;
            // The package reader never lists an entry past the end of the file; the arena
            // refuses what it cannot hold.
            const uint32_t size = reader.entrySize();
            if (size == 0 || size > kArenaCapacity) continue;
            auto* block = static_cast<uint8_t*>(arena_.arenaAlloc(size));
            if (!block) continue;
            reader.readEntry(size, block);
            const uint32_t got = reader.readPosition();
            if (got == 0) {
                arena_.arenaFree(block);
                continue;
            }
            blocks_[s][p] = block;
            record.blockSize[p] = static_cast<int32_t>(got);
        }
        stages_[s] = record;
    }
    return true;
}

bool ReplayData::ReadIndex(const char* fileName, ReplayIndex& index) {
    PackageReader reader;
    return reader.openPackage(fileName) && readIndexEntry(reader, index);
}

uint8_t ReplayData::StageMask(const char* fileName, ReplayIndex* index) {
    PackageReader reader;
    ReplayIndex header;
    if (!reader.openPackage(fileName) || !readIndexEntry(reader, header)) return 0;
    if (index) *index = header;
    uint8_t mask = 0;
    for (int s = 0; s < kGameStages; ++s) {
        ReplayStage record;
        if (readStageEntry(reader, s, record)) mask |= static_cast<uint8_t>(1u << s);
    }
    return mask;
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

ReplaySettings ReplayData::settings() const {
    return ReplaySettings{index_.buzz, index_.opticalEffect, index_.bulletChangeCount};
}

void ReplayData::setSettings(const ReplaySettings& settings) {
    index_.buzz = settings.buzz;
    index_.opticalEffect = settings.opticalEffect;
    index_.bulletChangeCount = settings.bulletChangeCount;
}

void ReplayData::applySettings() {
    if (!config_) return;
    if (!holdsPlayerSettings_) {
        playerSettings_ = settingsOf(*config_);
        holdsPlayerSettings_ = true;
    }
    putSettings(*config_, settings());
}

void ReplayData::restorePlayerSettings() {
    if (!holdsPlayerSettings_) return;
    if (config_) putSettings(*config_, playerSettings_);
    holdsPlayerSettings_ = false;
}

Config ReplayData::playerConfig(const Config& live) const {
    Config config = live;
    if (holdsPlayerSettings_) putSettings(config, playerSettings_);
    return config;
}

}  // namespace vg
