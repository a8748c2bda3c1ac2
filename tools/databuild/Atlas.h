#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vg::databuild {

// One picture of the atlas file (assets/atlas.txt describes the format).
struct AtlasImage {
    std::string file;  // entry name in data.pck, e.g. "frame.png"
    std::string stem;  // file name without ".png": the namespace of its constants
    int32_t width = 0;
    int32_t height = 0;
    uint32_t key = 0;  // 0xRRGGBB
};

// One named rectangle of a picture, possibly holding several frames.
struct AtlasCell {
    std::string image;
    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    int32_t frames = 1;
    int32_t columns = 1;
    int32_t stepX = 0;
    int32_t stepY = 0;
    // Where the cell's top-left corner lies from the position of what draws it; centred unless
    // the atlas says otherwise.
    int32_t anchorX = 0;
    int32_t anchorY = 0;
    std::string parent;  // cell this one is a part of, or empty
    std::string gen;     // what the build draws into it itself, or empty
    std::string description;
    int line = 0;

    int32_t frameX(int32_t i) const { return x + (i % columns) * stepX; }
    int32_t frameY(int32_t i) const { return y + (i / columns) * stepY; }
    // Bounding box of every frame.
    int32_t extentW() const;
    int32_t extentH() const;
};

// A named offset in whole pixels from the position of what a picture shows (a wing's place on
// its boss, where a wreck is drawn).
struct AtlasPoint {
    std::string image;
    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    std::string description;
};

struct Atlas {
    std::vector<AtlasImage> images;
    std::vector<AtlasCell> cells;
    std::vector<AtlasPoint> points;

    const AtlasImage* findImage(const std::string& file) const;
    const AtlasCell* findCell(const std::string& image, const std::string& name) const;
};

// Parses the text of an atlas file. On a syntax error returns false with `error` naming the
// line; the checks of geometry (cells inside pictures, overlaps) are the tests' business.
bool parseAtlas(const std::string& text, Atlas& atlas, std::string& error);
bool loadAtlas(const std::string& path, Atlas& atlas, std::string& error);

}  // namespace vg::databuild
