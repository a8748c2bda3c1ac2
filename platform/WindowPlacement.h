#pragma once

#include "platform/Window.h"

namespace vg {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// The largest rectangle of `picture`'s shape inside `area` (whole pixels, the shape kept to
// within rounding), centred in it: a 512 x 384 picture fills 1024 x 768 exactly and sits in the
// middle 1440 x 1080 of 1920 x 1080. Empty for an empty picture or area.
Rect fitPicture(Size picture, Size area);

// Where `window` (its outer rectangle, frame included) goes so that it lies on `display` (the
// display's usable area): unchanged when it already does, otherwise moved by the least that
// makes it fit. A window larger than the display is put at the display's top-left corner.
Rect placeOnDisplay(Rect window, Rect display);

}  // namespace vg
