#include "tools/databuild/GlyphSheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace vg::databuild {

namespace {

struct Style {
    const char* gen;
    const char* face;
    int pixelSize;
    int baseline;  // row of the baseline, from the top of the cell
    float glow;    // strength of the halo (0: none)
    float glowColour[3];
    int first;  // character of frame 0
    int count;  // frames the cell must hold
};

// The menu font is drawn large and centred in its 20-pixel cells (the text advances 12 pixels
// per character, so each cell leaves room for the halo). The small font uses the fixed-pitch
// face, whose even advance suits the 9-pixel step of score tables and dates.
// The digit rows of the status panels and the chain display use the same faces.
constexpr Style kStyles[] = {
    {"menufont", "DejaVuSans-Bold.ttf", 15, 15, 0.55f, {0.35f, 0.62f, 1.0f}, 0x20, 96},
    {"smallfont", "DejaVuSansMono-Bold.ttf", 12, 9, 0.0f, {0, 0, 0}, 0x20, 96},
    {"digits", "DejaVuSansMono-Bold.ttf", 12, 9, 0.0f, {0, 0, 0}, '0', 10},
    {"bigdigits", "DejaVuSans-Bold.ttf", 19, 18, 0.7f, {1.0f, 0.55f, 0.2f}, '0', 10},
};

// Coverage of one character on a float canvas the size of the cell.
struct Canvas {
    int w = 0;
    int h = 0;
    std::vector<float> value;
    Canvas(int width, int height) : w(width), h(height), value(width * height, 0.0f) {}
    float& at(int x, int y) { return value[y * w + x]; }
    float get(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0.0f;
        return value[y * w + x];
    }
};

struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};

// Draws the glyph of `code` with its ink centred horizontally in the canvas and its baseline on
// `baseline`. Returns false when the face has no glyph for it.
bool drawGlyph(FT_Face face, unsigned long code, int baseline, Canvas& canvas) {
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT) != 0) return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    int left = (canvas.w - static_cast<int>(bitmap.width)) / 2;
    int top = baseline - face->glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned column = 0; column < bitmap.width; ++column) {
            int x = left + static_cast<int>(column);
            int y = top + static_cast<int>(row);
            if (x < 0 || y < 0 || x >= canvas.w || y >= canvas.h) continue;
            float v = bitmap.buffer[row * bitmap.pitch + column] / 255.0f;
            canvas.at(x, y) = std::max(canvas.at(x, y), v);
        }
    }
    return true;
}

// A soft halo: the coverage spread by three box blurs of radius 1.
Canvas blurred(const Canvas& source) {
    Canvas a = source;
    for (int pass = 0; pass < 3; ++pass) {
        Canvas b(a.w, a.h);
        for (int y = 0; y < a.h; ++y) {
            for (int x = 0; x < a.w; ++x) {
                float sum = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) sum += a.get(x + dx, y + dy);
                }
                b.at(x, y) = sum / 9.0f;
            }
        }
        a = b;
    }
    return a;
}

// Writes the glyph, white over its halo, into the cell at (cx, cy) of the cairo surface (the
// cell is empty: the pixel becomes opaque black where nothing is drawn).
void store(const Canvas& glyph, const Style& style, cairo_surface_t* surface, int cx, int cy) {
    Canvas halo = style.glow > 0 ? blurred(glyph) : Canvas(glyph.w, glyph.h);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    for (int y = 0; y < glyph.h; ++y) {
        for (int x = 0; x < glyph.w; ++x) {
            int px = cx + x;
            int py = cy + y;
            if (px < 0 || py < 0 || px >= width || py >= height) continue;
            float core = glyph.get(x, y);
            float glow = halo.get(x, y) * style.glow;
            uint32_t word = 0xFF000000;
            for (int c = 0; c < 3; ++c) {
                float v = core + glow * style.glowColour[c] * (1.0f - core);
                int channel = static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
                word |= static_cast<uint32_t>(channel) << (16 - 8 * c);
            }
            reinterpret_cast<uint32_t*>(data + py * stride)[px] = word;
        }
    }
}

// The end mark of name entry: a return arrow, bent down and to the left.
void drawEndMark(FT_Face face, int baseline, Canvas& canvas) {
    if (drawGlyph(face, 0x21B5, baseline, canvas)) return;
    // The face lacks the arrow: a hand-drawn one (a bar down the right, then left to a head).
    for (int y = 4; y <= 12; ++y) canvas.at(14, y) = canvas.at(15, y) = 1.0f;
    for (int x = 6; x <= 15; ++x) canvas.at(x, 12) = canvas.at(x, 13) = 1.0f;
    for (int d = 0; d < 4; ++d) {
        canvas.at(6 + d, 12 - d) = canvas.at(6 + d, 13 + d) = 1.0f;
    }
}

}  // namespace

bool GlyphSheet::render(const AtlasCell& cell, cairo_surface_t* surface, std::string& error) const {
    const Style* style = nullptr;
    for (const Style& candidate : kStyles) {
        if (cell.gen == candidate.gen) style = &candidate;
    }
    if (!style) {
        error = "unknown gen=" + cell.gen;
        return false;
    }
    if (cell.frames != style->count) {
        error = "the cell must hold " + std::to_string(style->count) + " characters";
        return false;
    }
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        error = "FreeType does not start";
        return false;
    }
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library(rawLibrary);
    std::string path = fontDir_ + "/" + style->face;
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), path.c_str(), 0, &rawFace) != 0) {
        error = "cannot load " + path;
        return false;
    }
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face(rawFace);
    FT_Set_Pixel_Sizes(face.get(), 0, style->pixelSize);

    cairo_surface_flush(surface);
    for (int i = 0; i < cell.frames; ++i) {
        unsigned long code = style->first + i;
        Canvas canvas(cell.w, cell.h);
        if (code == 0x7F) {
            drawEndMark(face.get(), style->baseline, canvas);
        } else if (code != 0x20 && !drawGlyph(face.get(), code, style->baseline, canvas)) {
            error = "the face has no glyph for character " + std::to_string(code);
            return false;
        }
        store(canvas, *style, surface, cell.frameX(i), cell.frameY(i));
    }
    cairo_surface_mark_dirty(surface);
    return true;
}

}  // namespace vg::databuild
