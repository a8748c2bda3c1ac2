#include "core/SaveData.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "resources/Package.h"

namespace vg {

namespace {

constexpr char kScoreEntryName[] = "SCORE";
constexpr char kInputEntryName[] = "INPUT";
constexpr char kConfigEntryName[] = "CONFIG";

// Copies at most `field - 1` characters of `text` and zero-fills the rest of the field.
template <size_t N>
void storeName(char (&field)[N], const char* text) {
    const size_t length = strnlen(text, N - 1);
    std::memset(field, 0, N);
    std::memcpy(field, text, length);
}

}  // namespace

ScoreTable::ScoreTable() {
    for (auto& difficulty : entries) {
        for (auto& ship : difficulty) {
            for (int place = 0; place < kScorePlaces; ++place) {
                ScoreEntry& entry = ship[place];
                entry = ScoreEntry{};
                entry.score = 100000 - 10000 * place;
                storeName(entry.name, "---------");
            }
        }
    }
}

void insertScore(int difficulty, int shipType, ScoreTable& table, int32_t score, const char* name,
                 int year, int month, int day, int hour, int minute) {
    if (difficulty < 0 || difficulty >= kDifficultyCount || shipType < 0 ||
        shipType >= kShipTypeCount || !name) {
        return;
    }
    ScoreEntry(&places)[kScorePlaces] = table.entries[difficulty][shipType];
    // A damaged save may hold the places out of order; sorted first (equal scores keeping their
    // order), the table stays sorted and the lowest score is the one that drops out.
    std::stable_sort(std::begin(places), std::end(places),
                     [](const ScoreEntry& a, const ScoreEntry& b) { return a.score > b.score; });
    if (score <= places[kScorePlaces - 1].score) return;
    int place = kScorePlaces - 1;
    while (place > 0 && places[place - 1].score < score) --place;
    for (int r = kScorePlaces - 1; r > place; --r) places[r] = places[r - 1];
    ScoreEntry& entry = places[place];
    entry = ScoreEntry{};
    entry.score = score;
    storeName(entry.name, name);
    entry.year = static_cast<uint8_t>(((year % 100) + 100) % 100);
    entry.month = static_cast<uint8_t>(month);
    entry.day = static_cast<uint8_t>(day);
    entry.hour = static_cast<uint8_t>(hour);
    entry.minute = static_cast<uint8_t>(minute);
}

float sanitizeVolume(float volume, float fallback) {
    if (!std::isfinite(volume)) return fallback;
    return std::clamp(volume, 0.0f, 1.0f);
}

void sanitizeKeyRecords(KeyRecords& keys) {
    const auto keepKey = [](int32_t& key, int32_t fallback) {
        if (key < 1 || key > 255) key = fallback;
    };
    const auto keepPadCode = [](int16_t& code, int16_t fallback) {
        if (code < 0 || code > kSavedPadCodeLast) code = fallback;
    };
    for (int player = 0; player < 2; ++player) {
        KeyRecord& record = keys[player];
        const KeyRecord defaults = defaultKeyRecord(player);
        keepKey(record.upKey, defaults.upKey);
        keepKey(record.downKey, defaults.downKey);
        keepKey(record.leftKey, defaults.leftKey);
        keepKey(record.rightKey, defaults.rightKey);
        keepKey(record.shotKey, defaults.shotKey);
        keepKey(record.bombKey, defaults.bombKey);
        keepKey(record.autoKey, defaults.autoKey);
        keepKey(record.pauseKey, defaults.pauseKey);
        if (record.padId < -1 || record.padId >= kSavedPadIdLimit) record.padId = defaults.padId;
        keepPadCode(record.shotPadButton, defaults.shotPadButton);
        keepPadCode(record.bombPadButton, defaults.bombPadButton);
        keepPadCode(record.autoPadButton, defaults.autoPadButton);
        keepPadCode(record.pausePadButton, defaults.pausePadButton);
    }
}

void sanitizeConfig(Config& config) {
    const Config defaults;
    const auto keepChoice = [](uint8_t& value, uint8_t last, uint8_t fallback) {
        if (value > last) value = fallback;
    };
    keepChoice(config.bulletChangeCount, 1, defaults.bulletChangeCount);
    keepChoice(config.playerCollision, 2, defaults.playerCollision);
    keepChoice(config.buzz, 1, defaults.buzz);
    keepChoice(config.opticalEffect, 1, defaults.opticalEffect);
    config.musicVolume = sanitizeVolume(config.musicVolume, Config::kDefaultMusicVolume);
    config.seVolume = sanitizeVolume(config.seVolume, Config::kDefaultSEVolume);
}

bool readSaveFile(const char* path, const SaveBlocks& blocks) {
    PackageReader reader;
    if (!reader.openPackage(path)) return false;
    // Each block is read straight over its struct: a short entry leaves the tail as it was.
    if (reader.findEntry(kScoreEntryName)) reader.readEntry(sizeof(ScoreTable), &blocks.scores);
    if (reader.findEntry(kInputEntryName)) reader.readEntry(sizeof(KeyRecords), blocks.keys.data());
    if (reader.findEntry(kConfigEntryName)) reader.readEntry(sizeof(Config), &blocks.config);
    reader.closePackage();

    // A damaged file may hold names without their terminator; printing them must stay inside
    // the field.
    for (auto& difficulty : blocks.scores.entries) {
        for (auto& ship : difficulty) {
            for (ScoreEntry& entry : ship) entry.name[sizeof(entry.name) - 1] = '\0';
        }
    }
    blocks.config.lastName[sizeof(blocks.config.lastName) - 1] = '\0';
    sanitizeConfig(blocks.config);
    sanitizeKeyRecords(blocks.keys);
    return true;
}

bool writeSaveFile(const char* path, const ScoreTable& scores, const KeyRecords& keys,
                   const Config& config) {
    PackageWriter writer;
    if (!writer.createPackage(path)) return false;
    const bool written = writer.writeEntry(&scores, sizeof(scores), kScoreEntryName) &&
                         writer.writeEntry(keys.data(), sizeof(keys), kInputEntryName) &&
                         writer.writeEntry(&config, sizeof(config), kConfigEntryName);
    if (!written) {
        writer.abandonPackage();
        return false;
    }
    return writer.closePackage();
}

}  // namespace vg
