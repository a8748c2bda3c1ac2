#include "tools/databuild/Atlas.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vg::databuild {

namespace {

bool parseInt(const std::string& text, int32_t& value) {
    if (text.empty() || text.size() > 9) return false;
    size_t start = text[0] == '-' ? 1 : 0;
    if (start == text.size()) return false;
    for (size_t i = start; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    value = std::stoi(text);
    return true;
}

bool isIdentifier(const std::string& text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

std::string trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

}  // namespace

int32_t AtlasCell::extentW() const {
    int32_t usedColumns = frames < columns ? frames : columns;
    return (usedColumns - 1) * stepX + w;
}

int32_t AtlasCell::extentH() const {
    int32_t rows = (frames + columns - 1) / columns;
    return (rows - 1) * stepY + h;
}

const AtlasImage* Atlas::findImage(const std::string& file) const {
    for (const AtlasImage& image : images) {
        if (image.file == file) return &image;
    }
    return nullptr;
}

const AtlasCell* Atlas::findCell(const std::string& image, const std::string& name) const {
    for (const AtlasCell& cell : cells) {
        if (cell.image == image && cell.name == name) return &cell;
    }
    return nullptr;
}

const AtlasBand* Atlas::findBand(const std::string& image, const std::string& name) const {
    for (const AtlasBand& band : bands) {
        if (band.image == image && band.name == name) return &band;
    }
    return nullptr;
}

bool parseAtlasText(const std::string& text, const std::string& name, Atlas& atlas,
                    std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto here = [&] { return name + ":" + std::to_string(number); };
    auto fail = [&](const std::string& why) {
        error = here() + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        std::string description;
        size_t dashes = line.find(" -- ");
        if (dashes != std::string::npos) {
            description = trim(line.substr(dashes + 4));
            line = line.substr(0, dashes);
        }
        line = trim(line);
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) fields.push_back(word);

        if (fields[0] == "image") {
            if (fields.size() != 5) return fail("image needs: file width height key");
            AtlasImage image;
            image.file = fields[1];
            image.source = here();
            if (image.file.size() < 5 || image.file.substr(image.file.size() - 4) != ".png") {
                return fail("picture names end in .png");
            }
            image.stem = image.file.substr(0, image.file.size() - 4);
            if (!isIdentifier(image.stem)) return fail("picture name is not an identifier");
            if (!parseInt(fields[2], image.width) || !parseInt(fields[3], image.height) ||
                image.width <= 0 || image.height <= 0) {
                return fail("bad picture size");
            }
            if (fields[4].size() != 6 ||
                fields[4].find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                return fail("key colour is six hex digits");
            }
            image.key = static_cast<uint32_t>(std::stoul(fields[4], nullptr, 16));
            if (const AtlasImage* listed = atlas.findImage(image.file)) {
                return fail("picture listed twice (first at " + listed->source + ")");
            }
            atlas.images.push_back(image);
        } else if (fields[0] == "band") {
            if (fields.size() != 5) return fail("band needs: file name y h");
            AtlasBand band;
            band.image = fields[1];
            band.name = fields[2];
            band.description = description;
            band.source = here();
            if (!isIdentifier(band.name)) return fail("band name is not an identifier");
            if (!parseInt(fields[3], band.y) || !parseInt(fields[4], band.h) || band.y < 0 ||
                band.h <= 0) {
                return fail("bad band rows");
            }
            if (const AtlasBand* listed = atlas.findBand(band.image, band.name)) {
                return fail("band listed twice (first at " + listed->source + ")");
            }
            atlas.bands.push_back(band);
        } else if (fields[0] == "cell") {
            if (fields.size() < 7) return fail("cell needs: image name x y w h");
            AtlasCell cell;
            cell.image = fields[1];
            cell.name = fields[2];
            cell.line = number;
            cell.source = here();
            cell.description = description;
            if (!isIdentifier(cell.name)) return fail("cell name is not an identifier");
            if (const AtlasCell* listed = atlas.findCell(cell.image, cell.name)) {
                return fail("cell listed twice (first at " + listed->source + ")");
            }
            if (!parseInt(fields[3], cell.x) || !parseInt(fields[4], cell.y) ||
                !parseInt(fields[5], cell.w) || !parseInt(fields[6], cell.h) || cell.w <= 0 ||
                cell.h <= 0) {
                return fail("bad cell rectangle");
            }
            int32_t columns = 0;
            bool stepGiven = false;
            bool anchorGiven = false;
            for (size_t i = 7; i < fields.size(); ++i) {
                const std::string& option = fields[i];
                size_t eq = option.find('=');
                if (eq == std::string::npos) return fail("option without '=': " + option);
                std::string key = option.substr(0, eq);
                std::string value = option.substr(eq + 1);
                if (key == "frames") {
                    if (!parseInt(value, cell.frames) || cell.frames < 1) {
                        return fail("bad frames");
                    }
                } else if (key == "cols") {
                    if (!parseInt(value, columns) || columns < 1) return fail("bad cols");
                } else if (key == "step") {
                    size_t comma = value.find(',');
                    if (comma == std::string::npos ||
                        !parseInt(value.substr(0, comma), cell.stepX) ||
                        !parseInt(value.substr(comma + 1), cell.stepY) || cell.stepX < 0 ||
                        cell.stepY < 0) {
                        return fail("bad step");
                    }
                    stepGiven = true;
                } else if (key == "anchor") {
                    size_t comma = value.find(',');
                    if (comma == std::string::npos ||
                        !parseInt(value.substr(0, comma), cell.anchorX) ||
                        !parseInt(value.substr(comma + 1), cell.anchorY)) {
                        return fail("bad anchor");
                    }
                    anchorGiven = true;
                } else if (key == "in") {
                    cell.parent = value;
                } else if (key == "gen") {
                    cell.gen = value;
                } else {
                    return fail("unknown option " + key);
                }
            }
            cell.columns = columns > 0 ? columns : cell.frames;
            if (!stepGiven) {
                cell.stepX = cell.w;
                cell.stepY = cell.h;
            }
            if (!anchorGiven) {
                cell.anchorX = -(cell.w / 2);
                cell.anchorY = -(cell.h / 2);
            }
            if (!cell.parent.empty() && !atlas.findCell(cell.image, cell.parent)) {
                return fail("in= names no earlier cell of the picture");
            }
            atlas.cells.push_back(cell);
        } else if (fields[0] == "point") {
            if (fields.size() != 5) return fail("point needs: image name x y");
            AtlasPoint point;
            point.image = fields[1];
            point.name = fields[2];
            point.description = description;
            if (!atlas.findImage(point.image)) return fail("point of an unlisted picture");
            if (!isIdentifier(point.name)) return fail("point name is not an identifier");
            if (atlas.findCell(point.image, point.name)) return fail("point named like a cell");
            for (const AtlasPoint& other : atlas.points) {
                if (other.image == point.image && other.name == point.name) {
                    return fail("point listed twice");
                }
            }
            if (!parseInt(fields[3], point.x) || !parseInt(fields[4], point.y)) {
                return fail("bad point");
            }
            atlas.points.push_back(point);
        } else {
            return fail("unknown line kind " + fields[0]);
        }
    }
    return true;
}

namespace {

struct Box {
    int32_t x0, y0, x1, y1;  // x1, y1 exclusive

    bool overlaps(const Box& other) const {
        return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1;
    }
    bool inside(const Box& other) const {
        return x0 >= other.x0 && y0 >= other.y0 && x1 <= other.x1 && y1 <= other.y1;
    }
};

Box extent(const AtlasCell& cell) {
    return {cell.x, cell.y, cell.x + cell.extentW(), cell.y + cell.extentH()};
}

}  // namespace

bool finishAtlas(Atlas& atlas, std::string& error) {
    auto fail = [&](const std::string& where, const std::string& why) {
        error = where + ": " + why;
        return false;
    };
    for (const AtlasBand& band : atlas.bands) {
        const AtlasImage* image = atlas.findImage(band.image);
        if (!image) return fail(band.source, "band of an unlisted picture");
        if (band.y + band.h > image->height) {
            return fail(band.source, "band past the foot of " + band.image);
        }
        for (const AtlasBand& other : atlas.bands) {
            if (&other == &band || other.image != band.image) continue;
            if (band.y < other.y + other.h && other.y < band.y + band.h) {
                return fail(band.source, "band shares rows with " + other.name);
            }
        }
    }
    for (const AtlasCell& cell : atlas.cells) {
        const AtlasImage* image = atlas.findImage(cell.image);
        if (!image) return fail(cell.source, "cell of an unlisted picture");
        const Box picture{0, 0, image->width, image->height};
        for (int32_t i = 0; i < cell.frames; ++i) {
            const Box frame{cell.frameX(i), cell.frameY(i), cell.frameX(i) + cell.w,
                            cell.frameY(i) + cell.h};
            if (!frame.inside(picture)) {
                return fail(cell.source, cell.name + " frame " + std::to_string(i) +
                                             " lies outside " + cell.image);
            }
        }
        if (!cell.parent.empty()) {
            const AtlasCell* parent = atlas.findCell(cell.image, cell.parent);
            if (!parent) return fail(cell.source, "in= names no cell of the picture");
            if (!extent(cell).inside(extent(*parent))) {
                return fail(cell.source, cell.name + " is not inside " + cell.parent);
            }
        }
    }
    for (size_t a = 0; a < atlas.cells.size(); ++a) {
        const AtlasCell& first = atlas.cells[a];
        for (size_t b = a + 1; b < atlas.cells.size(); ++b) {
            const AtlasCell& second = atlas.cells[b];
            if (first.image != second.image || first.parent == second.name ||
                second.parent == first.name) {
                continue;
            }
            if (extent(first).overlaps(extent(second))) {
                return fail(second.source,
                            second.name + " overlaps " + first.name + " (" + first.source + ")");
            }
        }
    }
    return true;
}

bool loadAtlas(const std::string& path, Atlas& atlas, std::string& error) {
    namespace fs = std::filesystem;
    atlas = Atlas{};
    std::vector<fs::path> files;
    std::error_code code;
    if (fs::is_directory(path, code)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(path, code)) {
            if (entry.path().extension() == ".txt") files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        if (files.empty()) {
            error = "no atlas files (*.txt) in " + path;
            return false;
        }
    } else {
        files.push_back(path);
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            error = "cannot read " + file.string();
            return false;
        }
        std::ostringstream text;
        text << in.rdbuf();
        if (!parseAtlasText(text.str(), file.filename().string(), atlas, error)) return false;
    }
    return finishAtlas(atlas, error);
}

}  // namespace vg::databuild
