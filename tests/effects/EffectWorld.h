#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <ostream>

#include "AtlasCells.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/System.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"

namespace vg::testing {

// Colour of every non-key pixel of the stand-in sheets: with Add on black it shows as itself.
inline constexpr uint32_t kInk = 0x00406080;

// A rectangle of the field.
struct Box {
    int32_t x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Box&) const = default;
};
inline void PrintTo(const Box& b, std::ostream* os) {
    *os << "(" << b.x << ", " << b.y << ", " << b.w << " x " << b.h << ")";
}

// A System with stand-in sheets of the real sizes: every pixel kInk but the key corner, so a
// drawn cell shows as a solid rectangle wherever it lands, and a draw from outside a cell's
// picture would show too.
class EffectWorld : public ::testing::Test {
  protected:
    void SetUp() override {
        gameRandom().randomSeed(GameRandom::kDefaultSeed);
        sheet(kSlotExplosion, atlas::exp::kImage);
        sheet(kSlotEnemy, atlas::enemy::kImage);
        sheet(kSlotItem, atlas::item::kImage);
        sheet(kSlotShip, atlas::ship::kImage);
        sheet(kSlotFrame, atlas::frame::kImage);
        // Screen x = field x: no sideways scroll, no shake.
        system.fieldScroll = 12 << 16;
        clearField(0);
    }

    void sheet(int slot, const atlas::Image& image) {
        DIB& dib = system.imageSlots[slot];
        dib.create(image.width, image.height);
        fillRect(&dib, 0, 0, image.width, image.height, kInk, 0, 128);
        *dib.pixelAt(0, 0) = image.key;
    }

    void clearField(uint32_t colour) {
        fillRect(&system.playField, 0, 0, System::kFieldWidth, System::kFieldHeight, colour, 0,
                 128);
    }

    // Runs update passes until `task` has ended; the number of passes, or -1 after `limit`.
    int passesUntilEnded(const Task* task, int limit = 1000) {
        for (int pass = 1; pass <= limit; ++pass) {
            system.updatePass();
            if (task->state == kTaskEnded) return pass;
        }
        return -1;
    }

    // Draws `task` alone into the cleared field.
    void drawAlone(Task& task, uint32_t background = 0) {
        clearField(background);
        task.draw(system.playField);
    }

    // Bounding box of the pixels that differ from `background`.
    Box changedBox(uint32_t background = 0) const {
        int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = -1, y1 = -1;
        const DIB& f = system.playField;
        for (int32_t y = 0; y < f.height; ++y) {
            for (int32_t x = 0; x < f.width; ++x) {
                if ((*f.pixelAt(x, y) & 0xFFFFFF) == background) continue;
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
        if (x1 < 0) return {};
        return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    }
    uint32_t fieldPixel(int32_t x, int32_t y) const {
        return *system.playField.pixelAt(x, y) & 0xFFFFFF;
    }

    System system;
};

}  // namespace vg::testing
