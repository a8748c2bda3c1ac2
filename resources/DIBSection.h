#pragma once

#include <cstdint>
#include <memory>

#include "resources/DIB.h"

namespace vg {

class TextFont;

// The screen surface: a DIB that can also carry text. It owns its font (the face files
// themselves are shared, see TextFont) and the text colour.
class DIBSection : public DIB {
  public:
    static constexpr int32_t kScreenWidth = 512;
    static constexpr int32_t kScreenHeight = 384;

    // Creates itself at 512 x 384 with the default font (flags 0, "MS UI Gothic") and white text.
    DIBSection();
    ~DIBSection() override;

    // Like DIB::create, then selects the default font and white text. The font is not part of
    // the result: without one the surface works and text simply draws nothing.
    bool create(int32_t newWidth, int32_t newHeight) override;
    // Frees the pixels and the font.
    void release() override;

    // Replaces the font: height 16, bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out,
    // bit 4 anti-aliased; `face` is cut to 31 characters. False when the face cannot be loaded;
    // the section then has no font.
    bool setFont(uint32_t flags, const char* face);
    // Text colour as 0xRRGGBB (the high byte is ignored).
    void setTextColor(uint32_t rgb) { textColor_ = rgb & 0xFFFFFF; }
    uint32_t textColor() const { return textColor_; }
    // Null when no font is selected.
    const TextFont* font() const { return font_.get(); }
    TextFont* font() { return font_.get(); }

  private:
    std::unique_ptr<TextFont> font_;
    uint32_t textColor_ = 0xFFFFFF;
};

// The same as section.setFont(flags, face).
bool setFont(uint32_t flags, DIBSection& section, const char* face);

}  // namespace vg
