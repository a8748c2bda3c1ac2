#include "platform/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace vg {

namespace {

// The start of a span of `length` moved into [lo, lo + room), or lo when it does not fit.
int clampSpan(int start, int length, int lo, int room) {
    if (length >= room) return lo;
    return std::clamp(start, lo, lo + room - length);
}

}  // namespace

Rect fitPicture(Size picture, Size area) {
    if (picture.width <= 0 || picture.height <= 0 || area.width <= 0 || area.height <= 0) {
        return {};
    }
    // In 64 bits: area x picture products of large displays stay exact.
    const int64_t widthFromHeight = int64_t{area.height} * picture.width / picture.height;
    Rect fit;
    if (widthFromHeight <= area.width) {
        fit.width = static_cast<int>(widthFromHeight);
        fit.height = area.height;
    } else {
        fit.width = area.width;
        fit.height = static_cast<int>(int64_t{area.width} * picture.height / picture.width);
    }
    fit.x = (area.width - fit.width) / 2;
    fit.y = (area.height - fit.height) / 2;
    return fit;
}

Rect placeOnDisplay(Rect window, Rect display) {
    window.x = clampSpan(window.x, window.width, display.x, display.width);
    window.y = clampSpan(window.y, window.height, display.y, display.height);
    return window;
}

}  // namespace vg
