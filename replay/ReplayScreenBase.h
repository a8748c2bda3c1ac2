#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "replay/ReplayData.h"
#include "screens/ScreenBase.h"

namespace vg {

// One listed replay file: a slot whose file has an INDEX and at least one stage, sound or
// damaged.
struct ReplayListEntry {
    std::string fileName;     // "replay%02d.rpl"
    ReplayIndex index;        // as stored (a bad difficulty shows as an empty row)
    uint8_t stageMask = 0;    // bit s: the file holds stage s, whole
    uint8_t damagedMask = 0;  // bit s: the file holds stage s with its input damaged
    int slot = 0;             // 1..25
};

// The common part of the replay save and load screens: the list of the 25 slots of "replay/",
// read from the folder, and its drawing over the background: rows that slide in from the right,
// the row under the cursor bright over a growing echo, the others dim.
class ReplayScreenBase : public ScreenBase {
  public:
    static constexpr int kSlots = ReplayData::kSlotCount;
    static constexpr int32_t kRowStartX = 520;
    static constexpr int32_t kRowX = 20;
    static constexpr int32_t kFirstRowY = 60;
    static constexpr int32_t kRowStep = 12;
    static constexpr int32_t kMaxSliding = 64;
    static constexpr int32_t kBlinkSteps = 16;
    static constexpr int32_t kBackgroundFade = 16;

    ReplayScreenBase();

    // The list's animation: frame count, rows sliding in, the cursor's echo.
    void update() override;
    void draw(DIB& surface) override;

    // Reads the 25 slot files again; a slot whose file is missing, unreadable, without an INDEX
    // or without any stage is not listed.
    void buildList();
    // Shown in place of the difficulty in the row of a file with a damaged stage, and in place
    // of the stage in the stage choice.
    static constexpr const char* kDamaged = "damaged";
    // The entry of `slot` (1..25), or null.
    const ReplayListEntry* entryForSlot(int slot) const;
    // The text of row `slot`: the empty row when there is no entry or its difficulty is not one
    // the game has; "damaged" in place of the difficulty when a stage's input is damaged.
    static std::string rowText(int slot, const ReplayListEntry* entry);

    int32_t frame = 0;
    std::vector<ReplayListEntry> entries;
    int cursor = 0;                      // 0..24: slot - 1
    std::array<int32_t, kSlots> rowX{};  // 16.16
    int32_t sliding = 0;
    int32_t blink = 0;

  protected:
    // The list is read on the screen's first update.
    void buildListOnce();
    // Up and Down move the cursor over the 25 rows, wrapping, with the select sound.
    void moveCursor(System& system);

  private:
    bool listBuilt_ = false;
};

}  // namespace vg
