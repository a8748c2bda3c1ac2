#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/SaveData.h"
#include "replay/ReplayData.h"
#include "tests/support/TempFolder.h"

namespace vg::testing {

using Bytes = std::vector<uint8_t>;

// Little-endian writers for building replay files by hand, independently of the game's structs.
inline void put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void putEntry(Bytes& out, const std::string& name, const Bytes& data) {
    put32(out, static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    put32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

inline Bytes packageMagic() {
    return {0x2E, 0x70, 0x63, 0x6B};
}

// INDEX: name, difficulty, scores, date 26-03-14 15:09, the three play settings.
inline Bytes indexBytes(const std::string& name, uint8_t difficulty, int32_t score0 = 0,
                        int32_t score1 = 0, uint8_t buzz = 0, uint8_t optical = 0,
                        uint8_t changeCount = 0) {
    Bytes out;
    for (size_t i = 0; i < 10; ++i) out.push_back(i < name.size() ? name[i] : 0);
    out.push_back(difficulty);
    out.push_back(0);
    put32(out, static_cast<uint32_t>(score0));
    put32(out, static_cast<uint32_t>(score1));
    for (uint8_t b : {26, 3, 14, 15, 9}) out.push_back(b);
    out.push_back(buzz);
    out.push_back(optical);
    out.push_back(changeCount);
    return out;
}

// One carry-over record, field by field: ship type, lives, power, bombs, energy, score, final
// score (the struct only carries the values).
inline void putRecord(Bytes& out, const PlayerRecord& r) {
    out.push_back(r.shipType);
    out.push_back(static_cast<uint8_t>(r.lives));
    out.push_back(r.power);
    out.push_back(r.bombs);
    put32(out, static_cast<uint32_t>(r.energy));
    put32(out, static_cast<uint32_t>(r.score));
    put32(out, static_cast<uint32_t>(r.finalScore));
}

inline Bytes stageBytes(const PlayerRecord& p0, const PlayerRecord& p1, int32_t frames,
                        int32_t size0, int32_t size1) {
    Bytes out;
    putRecord(out, p0);
    putRecord(out, p1);
    put32(out, static_cast<uint32_t>(frames));
    put32(out, static_cast<uint32_t>(size0));
    put32(out, static_cast<uint32_t>(size1));
    return out;
}

inline Bytes zlibCompress(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        std::abort();
    }
    out.resize(size);
    return out;
}

// A new game's record for a ship type.
inline PlayerRecord newPlayer(uint8_t shipType) {
    PlayerRecord record;
    record.shipType = shipType;
    record.lives = 2;
    record.bombs = 3;
    record.energy = 32;
    return record;
}

// Records one stage of `frames` frames whose inputs are given by `input(player, frame)`.
template <class Input>
bool recordStage(ReplayData& replay, uint8_t stage, const PlayerRecord& p0, const PlayerRecord& p1,
                 int32_t frames, Input input, int32_t score0 = 0, int32_t score1 = 0) {
    replay.BeginStage(1, stage, p0, p1);
    for (int32_t f = 0; f < frames; ++f) {
        uint8_t a = input(0, f);
        uint8_t b = input(1, f);
        replay.Step(a, b);
    }
    return replay.EndStage(score0, score1, stage);
}

// Plays `frames` frames of the current stage with the live input `live` for both players and
// returns what each player was fed.
inline std::vector<Bytes> playFrames(ReplayData& replay, int32_t frames, uint8_t live) {
    std::vector<Bytes> fed(2);
    for (int32_t f = 0; f < frames; ++f) {
        uint8_t a = live;
        uint8_t b = live;
        replay.Step(a, b);
        fed[0].push_back(a);
        fed[1].push_back(b);
    }
    return fed;
}

}  // namespace vg::testing
