#pragma once

#include "AtlasCells.h"
#include "core/System.h"
#include "render/GlyphText.h"
#include "resources/ImageSlots.h"

namespace vg {

// The bitmap fonts of the frame picture, as the screens, panels and effects draw with them.
inline GlyphFont smallFont(const System& system) {
    const atlas::Cell& cell = atlas::frame::kSmallFont;
    return GlyphFont{&system.imageSlots[kSlotFrame], cell.x, cell.y, cell.w, cell.h, -3};
}
inline GlyphFont menuFont(const System& system) {
    const atlas::Cell& cell = atlas::frame::kMenuFont;
    return GlyphFont{&system.imageSlots[kSlotFrame], cell.x, cell.y, cell.w, cell.h, -8};
}

}  // namespace vg
