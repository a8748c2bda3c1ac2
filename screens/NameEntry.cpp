#include "screens/NameEntry.h"

#include <cstring>
#include <ctime>

#include "AtlasCells.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/SaveData.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "replay/ReplaySave.h"
#include "resources/ImageSlots.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kGridX = 100;
constexpr int32_t kGridY = 180;
constexpr int32_t kCell = 20;
constexpr int32_t kNameX = 150;
constexpr int32_t kNameY = 90;
constexpr int32_t kUnderscoreX = 156;
constexpr int32_t kUnderscoreY = 108;
constexpr int32_t kUnderscoreStep = 12;
constexpr uint32_t kDimAlpha = 128;
constexpr int32_t kFadeFrames = 32;

int32_t cellX(int column) {
    return kGridX + kCell * column;
}
int32_t cellY(int row) {
    return kGridY + kCell * row;
}

size_t nameLength(const Config& config) {
    return strnlen(config.lastName, sizeof config.lastName);
}

}  // namespace

void NameEntryInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    leavePlay(*system);
    if (!soundLoaded(*system, SoundManager::kMusicGameOver)) {
        startMusic(*system, "./sound/gameover.ogg", SoundManager::kMusicGameOver);
    }
    loadScreenImage(*system, kSlotMenuBack, "selectBack.png");
    system->spawnFront<NameEntry>(layer::kScreens);
}

int NameEntry::filingPlayer(const System& system) {
    const auto flew = [&](int player) { return system.playerRecord[player].shipType <= 3; };
    if (!flew(0)) return flew(1) ? 1 : -1;
    if (!flew(1)) return 0;
    return system.playerRecord[0].finalScore > system.playerRecord[1].finalScore ? 0 : 1;
}

void NameEntry::file(System& system) {
    const int player = filingPlayer(system);
    if (player >= 0) {
        const PlayerRecord& record = system.playerRecord[player];
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        if (!localtime_r(&now, &local)) local = std::tm{};
        insertScore(system.difficulty, record.shipType, system.scoreTable, record.finalScore,
                    system.config.lastName, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour, local.tm_min);
        // At once: a crash or a power cut after a new high score must not lose it.
        system.writeSaveData();
    }
    leave(system);
}

void NameEntry::leave(System& system) {
    // The game just played may be saved as a replay next.
    system.spawnFront<ReplaySaveInit>(layer::kScreens);
    end();
}

void NameEntry::confirm(System& system) {
    playSound(system, SoundManager::kSoundOk);
    Config& config = system.config;
    const size_t length = nameLength(config);
    if (column != kEndColumn || row != kEndRow) {
        if (length < kMaxNameLength) {
            config.lastName[length] = kGrid[row][column];
            config.lastName[length + 1] = '\0';
        }
        if (nameLength(config) >= kMaxNameLength) {
            column = kEndColumn;
            row = kEndRow;
        }
        return;
    }
    if (length == 0) {
        playSound(system, SoundManager::kSoundCancel);
        return;
    }
    file(system);
}

void NameEntry::update() {
    System* sys = system();
    if (!sys) return;
    Config& config = sys->config;
    if (!started) {
        started = true;
        // A name from a damaged save may be longer than a score entry holds.
        std::memset(config.lastName + kMaxNameLength, 0, sizeof config.lastName - kMaxNameLength);
        if (config.lastName[0] == '\0') column = row = 0;
        boxX = cellX(column) << 16;
        boxY = cellY(row) << 16;
    }
    bool moved = false;
    if (fired(menuUp())) row = (row + kRows - 1) % kRows, moved = true;
    if (fired(menuDown())) row = (row + 1) % kRows, moved = true;
    if (fired(menuLeft())) column = (column + kColumns - 1) % kColumns, moved = true;
    if (fired(menuRight())) column = (column + 1) % kColumns, moved = true;
    if (moved) playSound(*sys, SoundManager::kSoundSelect);
    if (fired(menuConfirm())) {
        confirm(*sys);
        if (!isLive()) return;
    }
    if (fired(menuCancel())) {
        const size_t length = nameLength(config);
        if (length > 0) config.lastName[length - 1] = '\0';
        playSound(*sys, SoundManager::kSoundCancel);
    }
    if (escapePressed()) {
        if (config.lastName[0] == '\0') std::strcpy(config.lastName, "no name");
        playSound(*sys, SoundManager::kSoundOk);
        leave(*sys);
    }
}

void NameEntry::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const uint32_t fade = frame < kFadeFrames ? static_cast<uint32_t>(8 * frame) : 255;
    blitCell(sys->imageSlots[kSlotMenuBack], surface, atlas::selectBack::kBackground, 0, 0, 0,
             Alpha, fade);
    fillRect(&surface, 0, 60, surface.width, 60, 0, Alpha, 128);
    fillRect(&surface, 0, 150, surface.width, 200, 0, Alpha, 128);

    const GlyphFont font = menuFont(*sys);
    const char* name = sys->config.lastName;
    const auto length = static_cast<int>(strnlen(name, kMaxNameLength));
    for (int i = 0; i < kMaxNameLength; ++i) {
        fillRect(&surface, kUnderscoreX + kUnderscoreStep * i, kUnderscoreY, 10, 2,
                 i == length ? 0xFFFFFFu : 0x808080u, Alpha, kDimAlpha);
    }
    char shown[kMaxNameLength + 1] = {};
    std::memcpy(shown, name, static_cast<size_t>(length));
    drawGlyphText(font, ColorKey | Add, 0, &surface, shown, kNameX, kNameY);

    boxX += ((cellX(column) << 16) - boxX) / 3;
    boxY += ((cellY(row) << 16) - boxY) / 3;
    fillRect(&surface, boxX >> 16, boxY >> 16, kCell, kCell, 0xFFFFFFu, Alpha, kDimAlpha);

    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const bool selected = r == row && c == column;
            const uint32_t mode = selected ? ColorKey | Add : ColorKey | Alpha | Add;
            const uint32_t alpha = selected ? 0 : kDimAlpha;
            if (r == kEndRow && c == kEndColumn) {
                blitCell(sys->imageSlots[kSlotFrame], surface, atlas::frame::kEndMark, 0, cellX(c),
                         cellY(r), mode, alpha);
                continue;
            }
            const char glyph[2] = {kGrid[r][c], '\0'};
            drawGlyphText(font, mode, alpha, &surface, glyph, cellX(c), cellY(r));
        }
    }
    countFrame(frame);
}

}  // namespace vg
