// Writes the constants header of the picture atlas: one namespace per picture with its size and
// a Cell constant per named rectangle, plus tables of every picture and cell for the tests.
//
//   vg_atlasgen <atlas> <AtlasCells.h>
//
// <atlas> is the atlas folder (assets/atlas/) or one atlas file. The atlas is checked as it is
// read (cells inside their pictures, no overlaps), so a bad cell fails the build here, naming
// its line. The header is only rewritten when its text changes, so an edit of the atlas that moves
// no cell rebuilds nothing.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/databuild/Atlas.h"

using vg::databuild::Atlas;
using vg::databuild::AtlasCell;
using vg::databuild::AtlasImage;
using vg::databuild::AtlasPoint;

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string cellInitializer(const AtlasCell& cell) {
    std::ostringstream out;
    out << "{" << cell.x << ", " << cell.y << ", " << cell.w << ", " << cell.h << ", "
        << cell.frames << ", " << cell.columns << ", " << cell.stepX << ", " << cell.stepY << ", "
        << cell.anchorX << ", " << cell.anchorY << "}";
    return out.str();
}

std::string header(const Atlas& atlas) {
    std::ostringstream out;
    out << "#pragma once\n\n"
           "// Generated from assets/atlas/ by vg_atlasgen: edit the atlas, not this file.\n\n"
           "#include <cstdint>\n\n"
           "namespace vg::atlas {\n\n"
           "// A named rectangle of a picture. Frame i of it lies at (frameX(i), frameY(i)); it "
           "is\n"
           "// drawn with its top-left corner at (anchorX, anchorY) from the drawer's position.\n"
           "struct Cell {\n"
           "    int32_t x, y, w, h;\n"
           "    int32_t frames, columns;\n"
           "    int32_t stepX, stepY;\n"
           "    int32_t anchorX, anchorY;\n\n"
           "    constexpr int32_t frameX(int32_t i) const { return x + (i % columns) * stepX; }\n"
           "    constexpr int32_t frameY(int32_t i) const { return y + (i / columns) * stepY; }\n"
           "    // Bounding box of every frame.\n"
           "    constexpr int32_t extentW() const {\n"
           "        return ((frames < columns ? frames : columns) - 1) * stepX + w;\n"
           "    }\n"
           "    constexpr int32_t extentH() const {\n"
           "        return ((frames + columns - 1) / columns - 1) * stepY + h;\n"
           "    }\n"
           "};\n\n"
           "// A named offset in whole pixels from the position of what a picture shows.\n"
           "struct Point {\n"
           "    int32_t x, y;\n"
           "};\n\n"
           "// A picture of data.pck; `key` is its colour key (0xRRGGBB), its top-left pixel.\n"
           "struct Image {\n"
           "    const char* file;\n"
           "    int32_t width, height;\n"
           "    uint32_t key;\n"
           "};\n\n";
    for (const AtlasImage& image : atlas.images) {
        out << "namespace " << image.stem << " {\n";
        char key[16];
        std::snprintf(key, sizeof key, "0x%06X", static_cast<unsigned>(image.key));
        out << "inline constexpr Image kImage{" << quoted(image.file) << ", " << image.width << ", "
            << image.height << ", " << key << "};\n";
        for (const AtlasCell& cell : atlas.cells) {
            if (cell.image != image.file) continue;
            if (!cell.description.empty()) out << "// " << cell.description << "\n";
            out << "inline constexpr Cell k" << cell.name << cellInitializer(cell) << ";\n";
        }
        for (const AtlasPoint& point : atlas.points) {
            if (point.image != image.file) continue;
            if (!point.description.empty()) out << "// " << point.description << "\n";
            out << "inline constexpr Point k" << point.name << "{" << point.x << ", " << point.y
                << "};\n";
        }
        out << "}  // namespace " << image.stem << "\n\n";
    }

    out << "// Every picture and every cell, for the checks of the atlas.\n"
           "inline constexpr Image kImages[] = {\n";
    for (const AtlasImage& image : atlas.images) {
        out << "    " << image.stem << "::kImage,\n";
    }
    out << "};\n\n"
           "struct CellEntry {\n"
           "    int32_t image;   // index into kImages\n"
           "    const char* name;\n"
           "    Cell cell;\n"
           "    int32_t parent;  // index into kCells of the cell this one is a part of, or -1\n"
           "    const char* gen; // what the build draws into it itself, or \"\"\n"
           "};\n\n"
           "inline constexpr CellEntry kCells[] = {\n";
    for (size_t i = 0; i < atlas.cells.size(); ++i) {
        const AtlasCell& cell = atlas.cells[i];
        int imageIndex = 0;
        for (size_t j = 0; j < atlas.images.size(); ++j) {
            if (atlas.images[j].file == cell.image) imageIndex = static_cast<int>(j);
        }
        int parentIndex = -1;
        for (size_t j = 0; j < atlas.cells.size(); ++j) {
            if (atlas.cells[j].image == cell.image && atlas.cells[j].name == cell.parent) {
                parentIndex = static_cast<int>(j);
            }
        }
        out << "    {" << imageIndex << ", " << quoted(cell.name) << ", "
            << atlas.images[imageIndex].stem << "::k" << cell.name << ", " << parentIndex << ", "
            << quoted(cell.gen) << "},\n";
    }
    out << "};\n\n}  // namespace vg::atlas\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vg_atlasgen <atlas folder or file> <header>\n");
        return 2;
    }
    Atlas atlas;
    std::string error;
    if (!vg::databuild::loadAtlas(argv[1], atlas, error)) {
        std::fprintf(stderr, "vg_atlasgen: %s\n", error.c_str());
        return 1;
    }
    std::string text = header(atlas);
    {
        std::ifstream old(argv[2], std::ios::binary);
        std::ostringstream oldText;
        if (old) oldText << old.rdbuf();
        if (old && oldText.str() == text) return 0;
    }
    std::string temp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::fprintf(stderr, "vg_atlasgen: cannot write %s\n", temp.c_str());
            return 1;
        }
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "vg_atlasgen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
