#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vg::databuild {

// One picture of the atlas (assets/atlas/README.md describes the format).
struct AtlasImage {
    std::string file;  // entry name in data.pck, e.g. "frame.png"
    std::string stem;  // file name without ".png": the namespace of its constants
    int32_t width = 0;
    int32_t height = 0;
    uint32_t key = 0;    // 0xRRGGBB
    std::string source;  // the atlas file and line that list it, for messages ("shared.txt:24")
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
    std::string source;  // the atlas file and line that list it, for messages

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

// Rows of a picture kept for one more vector source: <stem>.<name>.svg draws only inside them,
// and no other source of the picture draws there. Several authors can then work on one picture
// at once, each in a file of their own.
struct AtlasBand {
    std::string image;
    std::string name;
    int32_t y = 0;
    int32_t h = 0;
    std::string description;
    std::string source;  // the atlas file and line that list it, for messages

    std::string svg(const AtlasImage& picture) const { return picture.stem + "." + name + ".svg"; }
};

struct Atlas {
    std::vector<AtlasImage> images;
    std::vector<AtlasCell> cells;
    std::vector<AtlasPoint> points;
    std::vector<AtlasBand> bands;

    const AtlasImage* findImage(const std::string& file) const;
    const AtlasCell* findCell(const std::string& image, const std::string& name) const;
    const AtlasBand* findBand(const std::string& image, const std::string& name) const;
};

// Parses the text of one atlas file into `atlas`, after what it holds already; `name` is the
// file's name for messages. A picture may be listed in one file and have cells in another, so
// what lines refer to is checked by finishAtlas once every file is read. On a syntax error
// returns false with `error` naming the file and line.
bool parseAtlasText(const std::string& text, const std::string& name, Atlas& atlas,
                    std::string& error);
// Checks what the lines refer to (pictures of cells and bands, parts' cells) and the geometry:
// every frame of a cell and every band inside its picture, no two cells of a picture
// overlapping unless one is a part (in=) of the other, parts inside their cells, no two bands
// of a picture sharing a row. On the first fault returns false with `error` naming its line.
bool finishAtlas(Atlas& atlas, std::string& error);
// Reads the atlas at `path`: one file, or a folder whose *.txt files are read in name order as
// one atlas (assets/atlas/). Parses and finishes it.
bool loadAtlas(const std::string& path, Atlas& atlas, std::string& error);

}  // namespace vg::databuild
