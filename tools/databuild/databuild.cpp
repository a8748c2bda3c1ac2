// The data build: draws the pictures of data.pck from their vector sources and the atlas, and
// packs the game's data files into data.pck.
//
//   vg_databuild image <atlas> <picture> <art dir> <font dir> <out.png> [<contact.png>]
//       reads the atlas (its folder, or one file), draws <art dir>/<stem>.svg and each band's
//       <stem>.<band>.svg at the picture's size, renders the font cells the atlas marks
//       gen=..., flattens the picture onto its key colour, sets the top-left pixel to the key
//       and writes it with the game's PNG writer. The optional contact sheet shows the picture
//       on a checker with every atlas cell outlined and named.
//   vg_databuild mockup <picture dir> <out dir>
//       composes the screens that show the pictures, a moment of play from the sprite sheets
//       and windows of stage 1, with the game's blitters, for review.
//   vg_databuild pack <out.pck> <file>...
//       writes a package with one entry per file, named by the file's name, sorted by name.
//   vg_databuild icon <icon.svg> <size> <out.png>
//       draws the desktop icon at <size> x <size> pixels, keeping its transparency.
//
// Same sources give the same bytes: nothing here reads the clock, and the PNG writer uses fixed
// settings and writes no time chunk.

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"
#include "tools/databuild/Atlas.h"
#include "tools/databuild/Explosion.h"
#include "tools/databuild/GlyphSheet.h"
#include "tools/databuild/Mockup.h"
#include "tools/databuild/PlayMockup.h"
#include "tools/databuild/StageMockup.h"

namespace vg::databuild {
namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

bool fileExists(const std::string& path) {
    std::ifstream file(path);
    return static_cast<bool>(file);
}

bool renderSvg(const std::string& path, const AtlasImage& image, cairo_surface_t* surface) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
    if (!handle) {
        std::fprintf(stderr, "vg_databuild: %s: %s\n", path.c_str(),
                     error ? error->message : "cannot read");
        if (error) g_error_free(error);
        return false;
    }
    gdouble width = 0;
    gdouble height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) ||
        static_cast<int32_t>(width) != image.width ||
        static_cast<int32_t>(height) != image.height) {
        std::fprintf(stderr, "vg_databuild: %s is not %d x %d pixels as the atlas says\n",
                     path.c_str(), image.width, image.height);
        g_object_unref(handle);
        return false;
    }
    ContextPtr context(cairo_create(surface));
    RsvgRectangle viewport{0, 0, width, height};
    bool ok = rsvg_handle_render_document(handle, context.get(), &viewport, &error);
    if (!ok) {
        std::fprintf(stderr, "vg_databuild: %s: %s\n", path.c_str(),
                     error ? error->message : "cannot draw");
        if (error) g_error_free(error);
    }
    g_object_unref(handle);
    return ok;
}

// The first pixel that a source drew (any coverage) in rows [first, last), scanning row by row.
bool firstDrawnPixel(cairo_surface_t* surface, int32_t first, int32_t last, int32_t& x,
                     int32_t& y) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int32_t width = cairo_image_surface_get_width(surface);
    for (y = std::max(first, 0); y < last; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (x = 0; x < width; ++x) {
            if (row[x] >> 24) return true;
        }
    }
    return false;
}

std::string rows(const AtlasBand& band) {
    return std::to_string(band.y) + ".." + std::to_string(band.y + band.h - 1);
}

// Draws the picture's vector sources into `surface`: <stem>.svg anywhere but in the bands, and
// each band's <stem>.<band>.svg (where there is one) inside its band only, copied in row by row
// (the rows are empty until then, so the copy is what drawing it over them would give). A
// source that draws where it may not, or a <stem>.<name>.svg without a band of that name,
// fails the picture.
bool drawSources(const std::string& artDir, const Atlas& atlas, const AtlasImage& image,
                 cairo_surface_t* surface) {
    namespace fs = std::filesystem;
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(artDir, code)) {
        const std::string name = entry.path().filename().string();
        const std::string prefix = image.stem + ".";
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".svg") != 0 || name == image.stem + ".svg") {
            continue;
        }
        const std::string band = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (!atlas.findBand(image.file, band)) {
            std::fprintf(stderr, "vg_databuild: %s: the atlas has no band %s of %s for it\n",
                         name.c_str(), band.c_str(), image.file.c_str());
            return false;
        }
    }

    int32_t x = 0;
    int32_t y = 0;
    const std::string base = artDir + "/" + image.stem + ".svg";
    if (fileExists(base)) {
        if (!renderSvg(base, image, surface)) return false;
        for (const AtlasBand& band : atlas.bands) {
            if (band.image != image.file) continue;
            if (firstDrawnPixel(surface, band.y, band.y + band.h, x, y)) {
                std::fprintf(stderr,
                             "vg_databuild: %s draws into rows %s kept for %s (%s), first at "
                             "(%d, %d)\n",
                             base.c_str(), rows(band).c_str(), band.svg(image).c_str(),
                             band.source.c_str(), x, y);
                return false;
            }
        }
    }
    for (const AtlasBand& band : atlas.bands) {
        const std::string path = artDir + "/" + band.svg(image);
        if (band.image != image.file || !fileExists(path)) continue;
        SurfacePtr own(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
        if (cairo_surface_status(own.get()) != CAIRO_STATUS_SUCCESS) return false;
        if (!renderSvg(path, image, own.get())) return false;
        if (firstDrawnPixel(own.get(), 0, band.y, x, y) ||
            firstDrawnPixel(own.get(), band.y + band.h, image.height, x, y)) {
            std::fprintf(stderr,
                         "vg_databuild: %s draws outside its rows %s of %s (%s), first at "
                         "(%d, %d)\n",
                         path.c_str(), rows(band).c_str(), image.file.c_str(), band.source.c_str(),
                         x, y);
            return false;
        }
        cairo_surface_flush(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        std::memcpy(cairo_image_surface_get_data(surface) + band.y * stride,
                    cairo_image_surface_get_data(own.get()) + band.y * stride,
                    static_cast<size_t>(band.h) * stride);
        cairo_surface_mark_dirty(surface);
    }
    return true;
}

// Cairo keeps premultiplied 0xAARRGGBB words: over the key colour a pixel is its own colour plus
// the key times what it leaves uncovered.
bool flattenToDib(cairo_surface_t* surface, const AtlasImage& image, DIB& dib) {
    cairo_surface_flush(surface);
    if (!dib.create(image.width, image.height)) return false;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint32_t keyChannels[3] = {(image.key >> 16) & 0xFF, (image.key >> 8) & 0xFF, image.key & 0xFF};
    for (int32_t y = 0; y < image.height; ++y) {
        const uint32_t* in = reinterpret_cast<const uint32_t*>(data + y * stride);
        uint32_t* out = dib.row(y);
        for (int32_t x = 0; x < image.width; ++x) {
            uint32_t p = in[x];
            uint32_t uncovered = 255 - (p >> 24);
            uint32_t word = 0;
            for (int c = 0; c < 3; ++c) {
                uint32_t channel = (p >> (16 - 8 * c)) & 0xFF;
                channel += (keyChannels[c] * uncovered + 127) / 255;
                word |= std::min<uint32_t>(channel, 255) << (16 - 8 * c);
            }
            out[x] = word;
        }
    }
    // The blitters take the key from the top-left pixel of the whole picture.
    *dib.pixelAt(0, 0) = image.key;
    return true;
}

void outlineRect(cairo_t* cr, double x, double y, double w, double h) {
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
}

// The picture twice its size on a grey checker (key-coloured pixels let the checker through),
// every cell outlined in a colour of its own with its number at its top-left corner, and a
// legend beside the picture: number, name, rectangle, frames and what the cell shows.
bool writeContactSheet(const DIB& dib, const Atlas& atlas, const AtlasImage& image,
                       const std::string& path) {
    const int scale = 2;
    const int margin = 16;
    const int legendWidth = 520;
    const int lineHeight = 13;
    std::vector<const AtlasCell*> cells;
    for (const AtlasCell& cell : atlas.cells) {
        if (cell.image == image.file) cells.push_back(&cell);
    }
    std::vector<const AtlasBand*> bands;
    for (const AtlasBand& band : atlas.bands) {
        if (band.image == image.file) bands.push_back(&band);
    }
    const int legendLines = static_cast<int>(cells.size() + bands.size()) + 2;
    int width = image.width * scale + 2 * margin + legendWidth;
    int height = std::max(image.height * scale + 2 * margin, margin * 2 + lineHeight * legendLines);
    SurfacePtr sheet(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    unsigned char* data = cairo_image_surface_get_data(sheet.get());
    int stride = cairo_image_surface_get_stride(sheet.get());
    for (int y = 0; y < height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            bool light = ((x / 8) + (y / 8)) % 2 == 0;
            uint32_t colour = light ? 0x9A9A9A : 0x7A7A7A;
            int ix = (x - margin) / scale;
            int iy = (y - margin) / scale;
            if (x >= margin && y >= margin && ix < image.width && iy < image.height) {
                uint32_t p = *dib.pixelAt(ix, iy) & 0xFFFFFF;
                if (p != image.key) colour = p;
            }
            if (x >= image.width * scale + 2 * margin) colour = 0x202228;
            row[x] = colour;
        }
    }
    cairo_surface_mark_dirty(sheet.get());
    ContextPtr cr(cairo_create(sheet.get()));
    cairo_select_font_face(cr.get(), "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr.get(), 10);
    cairo_set_line_width(cr.get(), 1);
    static const double palette[][3] = {{1, 0.3, 0.3}, {0.3, 1, 0.3}, {0.4, 0.6, 1},
                                        {1, 1, 0.3},   {1, 0.4, 1},   {0.3, 1, 1}};
    double legendX = image.width * scale + 2 * margin + 8;
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_move_to(cr.get(), legendX, margin + 10);
    std::string title =
        image.file + "  " + std::to_string(image.width) + " x " + std::to_string(image.height);
    cairo_show_text(cr.get(), title.c_str());
    for (size_t n = 0; n < cells.size(); ++n) {
        const AtlasCell& cell = *cells[n];
        const double* rgb = palette[n % 6];
        bool framesApart = cell.stepX >= cell.w || cell.stepY >= cell.h;
        if (cell.frames > 1 && framesApart) {
            cairo_set_source_rgba(cr.get(), rgb[0], rgb[1], rgb[2], 0.45);
            for (int32_t i = 0; i < cell.frames; ++i) {
                outlineRect(cr.get(), margin + cell.frameX(i) * scale,
                            margin + cell.frameY(i) * scale, cell.w * scale, cell.h * scale);
            }
        }
        cairo_set_source_rgb(cr.get(), rgb[0], rgb[1], rgb[2]);
        outlineRect(cr.get(), margin + cell.x * scale, margin + cell.y * scale,
                    cell.extentW() * scale, cell.extentH() * scale);
        std::string number = std::to_string(n + 1);
        double tx = margin + cell.x * scale + 1;
        double ty = margin + cell.y * scale + 9;
        cairo_text_extents_t extents;
        cairo_set_font_size(cr.get(), 8);
        cairo_text_extents(cr.get(), number.c_str(), &extents);
        cairo_save(cr.get());
        cairo_set_source_rgba(cr.get(), 0, 0, 0, 0.75);
        cairo_rectangle(cr.get(), tx - 1, ty - 8, extents.x_advance + 2, 10);
        cairo_fill(cr.get());
        cairo_restore(cr.get());
        cairo_move_to(cr.get(), tx, ty);
        cairo_show_text(cr.get(), number.c_str());

        cairo_set_font_size(cr.get(), 10);
        char rect[96];
        std::snprintf(rect, sizeof rect, "(%d, %d) %d x %d", cell.x, cell.y, cell.w, cell.h);
        std::string line = number + "  " + cell.name + "  " + rect;
        if (cell.frames > 1) line += "  x" + std::to_string(cell.frames);
        cairo_move_to(cr.get(), legendX, margin + 10 + lineHeight * (n + 1.5));
        cairo_show_text(cr.get(), line.c_str());
    }
    // The bands, dashed across the whole picture, after the cells in the legend.
    const double dashes[] = {6, 4};
    cairo_set_dash(cr.get(), dashes, 2, 0);
    cairo_set_source_rgb(cr.get(), 0.85, 0.85, 0.85);
    for (size_t n = 0; n < bands.size(); ++n) {
        const AtlasBand& band = *bands[n];
        outlineRect(cr.get(), margin, margin + band.y * scale, image.width * scale, band.h * scale);
        const std::string line = "band " + band.name + "  rows " + std::to_string(band.y) + ".." +
                                 std::to_string(band.y + band.h - 1) + "  " + band.svg(image);
        cairo_move_to(cr.get(), legendX, margin + 10 + lineHeight * (cells.size() + n + 1.5));
        cairo_show_text(cr.get(), line.c_str());
    }
    cairo_surface_flush(sheet.get());
    return cairo_surface_write_to_png(sheet.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

int buildImage(int argc, char** argv) {
    if (argc < 7 || argc > 8) {
        std::fprintf(stderr,
                     "usage: vg_databuild image <atlas> <picture> <art dir> <font dir> "
                     "<out.png> [<contact.png>]\n");
        return 2;
    }
    Atlas atlas;
    std::string error;
    if (!loadAtlas(argv[2], atlas, error)) {
        std::fprintf(stderr, "vg_databuild: %s\n", error.c_str());
        return 1;
    }
    const AtlasImage* image = atlas.findImage(argv[3]);
    if (!image) {
        std::fprintf(stderr, "vg_databuild: %s is not in the atlas\n", argv[3]);
        return 1;
    }
    SurfacePtr surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image->width, image->height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return 1;

    if (!drawSources(argv[4], atlas, *image, surface.get())) return 1;

    GlyphSheet glyphs(argv[5]);
    for (const AtlasCell& cell : atlas.cells) {
        if (cell.image != image->file || cell.gen.empty()) continue;
        bool drawn = isExplosionKind(cell.gen) ? renderExplosion(cell, surface.get(), error)
                                               : glyphs.render(cell, surface.get(), error);
        if (!drawn) {
            std::fprintf(stderr, "vg_databuild: %s %s: %s\n", image->file.c_str(),
                         cell.name.c_str(), error.c_str());
            return 1;
        }
    }

    DIB dib;
    if (!flattenToDib(surface.get(), *image, dib)) return 1;
    if (!savePng(argv[6], dib)) {
        std::fprintf(stderr, "vg_databuild: cannot write %s\n", argv[6]);
        return 1;
    }
    if (argc == 8 && !writeContactSheet(dib, atlas, *image, argv[7])) {
        std::fprintf(stderr, "vg_databuild: cannot write %s\n", argv[7]);
        return 1;
    }
    return 0;
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream text;
    text << file.rdbuf();
    bytes = text.str();
    return true;
}

int buildPackage(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vg_databuild pack <out.pck> <file>...\n");
        return 2;
    }
    struct Input {
        std::string name;
        std::string path;
    };
    std::vector<Input> inputs;
    for (int i = 3; i < argc; ++i) {
        std::string path = argv[i];
        size_t slash = path.find_last_of('/');
        inputs.push_back({slash == std::string::npos ? path : path.substr(slash + 1), path});
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const Input& a, const Input& b) { return a.name < b.name; });
    for (size_t i = 1; i < inputs.size(); ++i) {
        if (inputs[i].name == inputs[i - 1].name) {
            std::fprintf(stderr, "vg_databuild: two entries named %s\n", inputs[i].name.c_str());
            return 1;
        }
    }
    PackageWriter writer;
    if (!writer.createPackage(argv[2])) {
        std::fprintf(stderr, "vg_databuild: cannot create %s\n", argv[2]);
        return 1;
    }
    for (const Input& input : inputs) {
        std::string bytes;
        if (!readFile(input.path, bytes)) {
            std::fprintf(stderr, "vg_databuild: cannot read %s\n", input.path.c_str());
            writer.abandonPackage();
            return 1;
        }
        if (!writer.writeEntry(bytes.data(), static_cast<uint32_t>(bytes.size()),
                               input.name.c_str())) {
            writer.abandonPackage();
            return 1;
        }
    }
    if (!writer.closePackage()) {
        std::fprintf(stderr, "vg_databuild: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

// The icon keeps its alpha (the game's own writer drops it), so cairo writes it.
int buildIcon(int argc, char** argv) {
    const int size = argc == 5 ? std::atoi(argv[3]) : 0;
    if (size < 8 || size > 1024) {
        std::fprintf(stderr, "usage: vg_databuild icon <icon.svg> <size 8..1024> <out.png>\n");
        return 2;
    }
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(argv[2], &error);
    if (!handle) {
        std::fprintf(stderr, "vg_databuild: %s: %s\n", argv[2],
                     error ? error->message : "cannot read");
        if (error) g_error_free(error);
        return 1;
    }
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
    ContextPtr context(cairo_create(surface.get()));
    RsvgRectangle viewport{0, 0, static_cast<double>(size), static_cast<double>(size)};
    const bool drawn = rsvg_handle_render_document(handle, context.get(), &viewport, &error);
    g_object_unref(handle);
    if (!drawn) {
        std::fprintf(stderr, "vg_databuild: %s: %s\n", argv[2],
                     error ? error->message : "cannot draw");
        if (error) g_error_free(error);
        return 1;
    }
    cairo_surface_flush(surface.get());
    if (cairo_surface_write_to_png(surface.get(), argv[4]) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "vg_databuild: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace vg::databuild

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "image") == 0) {
        return vg::databuild::buildImage(argc, argv);
    }
    if (argc == 4 && std::strcmp(argv[1], "mockup") == 0) {
        std::string error;
        if (vg::databuild::writeMockups(argv[2], argv[3], error) &&
            vg::databuild::writePlayMockup(argv[2], argv[3], error) &&
            vg::databuild::writeStageMockup(argv[2], argv[3], error)) {
            return 0;
        }
        std::fprintf(stderr, "vg_databuild: %s\n", error.c_str());
        return 1;
    }
    if (argc >= 2 && std::strcmp(argv[1], "pack") == 0) {
        return vg::databuild::buildPackage(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "icon") == 0) {
        return vg::databuild::buildIcon(argc, argv);
    }
    std::fprintf(stderr, "usage: vg_databuild image ... | pack ... | icon ...\n");
    return 2;
}
