#include "resources/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace vg {

namespace {

constexpr const char* kRegularFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The process-wide FreeType library and the faces loaded so far, one per file. Faces are never
// unloaded before exit: there are two of them and every font of every surface shares them.
class FaceCache {
  public:
    ~FaceCache() {
        for (auto& [path, face] : faces_) {
            if (face != nullptr) FT_Done_Face(face);
        }
        if (library_ != nullptr) FT_Done_FreeType(library_);
    }

    // Null when the file is missing or not a font; the failure is remembered too, so a missing
    // file is looked for only once.
    FT_Face face(const std::string& path) {
        if (auto found = faces_.find(path); found != faces_.end()) return found->second;
        FT_Face face = nullptr;
        if (library_ == nullptr && FT_Init_FreeType(&library_) != 0) library_ = nullptr;
        if (library_ != nullptr && FT_New_Face(library_, path.c_str(), 0, &face) != 0) {
            face = nullptr;
        }
        // Every font is 16 pixels from the top of the cell to its bottom, ascent plus descent.
        if (face != nullptr) {
            FT_Size_RequestRec request{FT_SIZE_REQUEST_TYPE_CELL, 0, kTextHeight * 64, 0, 0};
            if (FT_Request_Size(face, &request) != 0) {
                FT_Done_Face(face);
                face = nullptr;
            }
        }
        faces_.emplace(path, face);
        return face;
    }

  private:
    FT_Library library_ = nullptr;
    std::map<std::string, FT_Face> faces_;
};

FaceCache& faceCache() {
    static FaceCache cache;
    return cache;
}

// Text is single-byte: ASCII, and Latin-1 above 0x7F.
FT_ULong characterOf(uint8_t code) {
    return code;
}

uint32_t blend(uint32_t destination, uint32_t rgb, uint32_t coverage) {
    if (coverage >= 255) return rgb;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t d = (destination >> shift) & 0xFF;
        const uint32_t s = (rgb >> shift) & 0xFF;
        out |= ((s * coverage + d * (255 - coverage) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

std::unique_ptr<TextFont> TextFont::create(uint32_t flags, const char* face) {
    char name[32] = {};
    if (face != nullptr) std::snprintf(name, sizeof name, "%.31s", face);
    const bool bold = (flags & kFontBold) != 0 || std::strcmp(name, "Tohoma") == 0;
    FT_Face loaded = faceCache().face(bold ? kBoldFace : kRegularFace);
    if (loaded == nullptr) return nullptr;

    std::unique_ptr<TextFont> font(new TextFont);
    font->face_ = loaded;
    font->flags_ = flags;
    font->ascent_ = static_cast<int32_t>((loaded->size->metrics.ascender + 32) >> 6);
    const FT_Fixed scale = loaded->size->metrics.y_scale;
    font->underlinePosition_ =
        static_cast<int32_t>((FT_MulFix(-loaded->underline_position, scale) + 32) >> 6);
    if (font->underlinePosition_ < 1) font->underlinePosition_ = 1;
    return font;
}

TextFont::~TextFont() = default;

TextFont::Glyph& TextFont::glyph(uint8_t code) {
    Glyph& glyph = glyphs_[code];
    if (glyph.rendered) return glyph;
    glyph.rendered = true;

    auto* face = static_cast<FT_Face>(face_);
    const bool smooth = (flags_ & kFontAntialiased) != 0;
    if ((flags_ & kFontItalic) != 0) {
        // A shear of about 12 degrees, as a synthesised oblique.
        FT_Matrix shear{0x10000, 0x3700, 0, 0x10000};
        FT_Set_Transform(face, &shear, nullptr);
    }
    const FT_Int32 loadFlags =
        FT_LOAD_RENDER | (smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    const FT_Error error = FT_Load_Char(face, characterOf(code), loadFlags);
    // The face is shared: leave it untransformed for the next font.
    if ((flags_ & kFontItalic) != 0) FT_Set_Transform(face, nullptr, nullptr);
    if (error != 0) return glyph;

    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = static_cast<int16_t>(slot->bitmap_left);
    glyph.top = static_cast<int16_t>(slot->bitmap_top);
    glyph.width = static_cast<uint16_t>(bitmap.width);
    glyph.rows = static_cast<uint16_t>(bitmap.rows);
    glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    glyph.coverage.assign(size_t{glyph.width} * glyph.rows, 0);
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        uint8_t* out = glyph.coverage.data() + size_t{r} * glyph.width;
        for (unsigned c = 0; c < bitmap.width; ++c) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                out[c] = (source[c >> 3] & (0x80 >> (c & 7))) != 0 ? 255 : 0;
            } else {
                out[c] = source[c];
            }
        }
    }
    return glyph;
}

int32_t TextFont::measure(const char* text, size_t length) {
    int32_t width = 0;
    for (size_t i = 0; i < length; ++i) width += glyph(static_cast<uint8_t>(text[i])).advance;
    return width;
}

int32_t TextFont::draw(DIB& surface, int32_t x, int32_t y, const char* text, size_t length,
                       uint32_t rgb) {
    rgb &= 0xFFFFFF;
    const int32_t baseline = y + ascent_;
    int32_t penX = x;
    auto plot = [&](int32_t px, int32_t py, uint32_t coverage) {
        if (px < 0 || py < 0 || px >= surface.width || py >= surface.height) return;
        uint32_t* word = surface.pixelAt(px, py);
        *word = blend(*word, rgb, coverage);
    };
    for (size_t i = 0; i < length; ++i) {
        const Glyph& g = glyph(static_cast<uint8_t>(text[i]));
        const int32_t left = penX + g.left;
        const int32_t top = baseline - g.top;
        for (int32_t r = 0; r < g.rows; ++r) {
            const int32_t py = top + r;
            if (py < 0 || py >= surface.height) continue;
            for (int32_t c = 0; c < g.width; ++c) {
                const uint32_t coverage = g.coverage[size_t(r) * g.width + size_t(c)];
                if (coverage != 0) plot(left + c, py, coverage);
            }
        }
        penX += g.advance;
    }
    if ((flags_ & (kFontUnderline | kFontStrikeOut)) != 0) {
        for (int32_t px = x; px < penX; ++px) {
            if ((flags_ & kFontUnderline) != 0) plot(px, baseline + underlinePosition_, 255);
            if ((flags_ & kFontStrikeOut) != 0) plot(px, baseline - ascent_ / 3, 255);
        }
    }
    return penX;
}

int drawText(DIBSection& surface, int32_t x, int32_t y, const char* format, ...) {
    TextFont* font = surface.font();
    if (font == nullptr || surface.pixels == nullptr || format == nullptr) return -1;
    char buffer[kTextBufferSize];
    va_list arguments;
    va_start(arguments, format);
    const int formatted = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (formatted < 0) return -1;
    const size_t length = std::strlen(buffer);
    font->draw(surface, x, y, buffer, length, surface.textColor());
    return static_cast<int>(length);
}

}  // namespace vg
