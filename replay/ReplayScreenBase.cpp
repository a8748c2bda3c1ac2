#include "replay/ReplayScreenBase.h"

#include <algorithm>
#include <cstdio>

#include "core/PlayField.h"
#include "effects/Fonts.h"
#include "render/Blit.h"
#include "screens/MenuDraw.h"

namespace vg {

// A playable replay's difficulty indexes the screens' table of names.
static_assert(ReplayData::kDifficultyCount == kDifficultyCount);

ReplayScreenBase::ReplayScreenBase() {
    rowX.fill(fixedFromInt(kRowStartX));
}

void ReplayScreenBase::buildList() {
    entries.clear();
    for (int slot = 1; slot <= kSlots; ++slot) {
        const std::string path = ReplayData::SlotPath(slot);
        ReplayListEntry entry;
        entry.stageMask = ReplayData::StageMask(path.c_str(), &entry.index, &entry.damagedMask);
        if (entry.stageMask == 0 && entry.damagedMask == 0) continue;
        char name[32];
        std::snprintf(name, sizeof name, "replay%02d.rpl", slot);
        entry.fileName = name;
        entry.slot = slot;
        entries.push_back(std::move(entry));
    }
}

void ReplayScreenBase::buildListOnce() {
    if (listBuilt_) return;
    listBuilt_ = true;
    buildList();
}

const ReplayListEntry* ReplayScreenBase::entryForSlot(int slot) const {
    for (const ReplayListEntry& entry : entries) {
        if (entry.slot == slot) return &entry;
    }
    return nullptr;
}

std::string ReplayScreenBase::rowText(int slot, const ReplayListEntry* entry) {
    char text[160];
    if (!entry || !ReplayData::Playable(entry->index)) {
        std::snprintf(text, sizeof text, "[%02d] %9s %9s   --/--/-- --:--   ------", slot,
                      "---------", "---------");
        return text;
    }
    const ReplayIndex& index = entry->index;
    std::snprintf(text, sizeof text, "[%02d] %9s %9d   %02d/%02d/%02d %02d:%02d   %s", slot,
                  index.name, std::max(index.score[0], index.score[1]), index.year, index.month,
                  index.day, index.hour, index.minute,
                  entry->damagedMask ? kDamaged : kDifficultyNames[index.difficulty]);
    return text;
}

void ReplayScreenBase::moveCursor(System& system) {
    MenuList{kSlots - 1}.handle(*this, system, cursor, false);
}

void ReplayScreenBase::update() {
    countFrame(frame);
    if (sliding < kMaxSliding) ++sliding;
    // Two rows start per frame; each eases toward its place by an eighth of the way.
    for (int i = 0; i < kSlots; ++i) {
        if (i >= 2 * sliding) break;
        rowX[i] += (fixedFromInt(kRowX) - rowX[i]) / 8;
    }
    blink = (blink + 1) % kBlinkSteps;
}

void ReplayScreenBase::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const DIB& background = sys->imageSlots[kSlotBackground];
    if (frame < kBackgroundFade) {
        blit(&background, &surface, 0, 0, surface.width, surface.height, 0, 0, Alpha,
             fadeAlpha(frame, kBackgroundFade));
    } else {
        blit(&background, &surface, 0, 0, surface.width, surface.height, 0, 0, 0, 0);
    }
    const GlyphFont font = smallFont(*sys);
    for (int slot = 1; slot <= kSlots; ++slot) {
        const std::string text = rowText(slot, entryForSlot(slot));
        const int32_t x = fixedToInt(rowX[slot - 1]);
        const int32_t y = kFirstRowY + kRowStep * (slot - 1);
        if (slot - 1 == cursor) {
            drawMenuEcho(font, surface, text.c_str(), x, y, blink);
            drawGlyphText(font, ColorKey | Add, 128, &surface, text.c_str(), x, y);
        } else {
            drawGlyphText(font, ColorKey | Alpha | Add, kDimAlpha, &surface, text.c_str(), x, y);
        }
    }
}

}  // namespace vg
