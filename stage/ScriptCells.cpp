#include "stage/ScriptCells.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "AtlasCells.h"
#include "stage/ScriptReader.h"
#include "stage/StageTable.h"

namespace vg {

namespace {

constexpr const char* kLoopSuffix = "Loop";

// The fields of one line as the parser splits them: on ',' only, every '\r' dropped. Fields the
// line does not have read as empty.
class LineFields {
  public:
    explicit LineFields(std::string_view line) : fields_(1) {
        for (char c : line) {
            if (c == ',') {
                fields_.emplace_back();
            } else if (c != '\r') {
                fields_.back() += c;
            }
        }
    }

    // The whole field i, for writing the line out again.
    const std::string& raw(size_t i) const { return i < fields_.size() ? fields_[i] : empty_; }
    // Field i as the parser keeps it: at most 63 characters.
    std::string parsed(size_t i) const { return raw(i).substr(0, ScriptReader::kMaxFieldLength); }
    void replace(size_t i, std::string text) {
        if (fields_.size() <= i) fields_.resize(i + 1);
        fields_[i] = std::move(text);
    }
    std::string joined() const {
        std::string out;
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (i > 0) out += ',';
            out += fields_[i];
        }
        return out;
    }

  private:
    std::vector<std::string> fields_;
    std::string empty_;
};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool isCellName(const std::string& field) {
    const std::string_view text = trimmed(field);
    return !text.empty() && std::isalpha(static_cast<unsigned char>(text.front()));
}

bool isLoopCell(const char* name) {
    const size_t length = std::strlen(name);
    const size_t suffix = std::strlen(kLoopSuffix);
    return length > suffix && std::strcmp(name + length - suffix, kLoopSuffix) == 0;
}

int32_t integerValue(const std::string& field) {
    return static_cast<int16_t>(static_cast<uint32_t>(scriptIntegerField(field.c_str())) >> 16);
}

std::string pixels(int32_t fixed) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", fixed / 65536.0);
    return text;
}

// The cells of one picture of the atlas.
class PictureCells {
  public:
    explicit PictureCells(const char* file) : file_(file) {
        for (size_t i = 0; i < std::size(atlas::kImages); ++i) {
            if (std::strcmp(atlas::kImages[i].file, file) == 0) image_ = static_cast<int32_t>(i);
        }
    }

    const char* file() const { return file_; }
    bool inAtlas() const { return image_ >= 0; }

    const atlas::CellEntry* find(std::string_view name) const {
        for (const atlas::CellEntry& entry : atlas::kCells) {
            if (entry.image == image_ && name == entry.name) return &entry;
        }
        return nullptr;
    }

    template <class Visit>
    void forEach(Visit visit) const {
        for (const atlas::CellEntry& entry : atlas::kCells) {
            if (entry.image == image_) visit(entry);
        }
    }

  private:
    const char* file_;
    int32_t image_ = -1;
};

class Resolver {
  public:
    Resolver(const StageTable& stage, std::vector<ScriptCellProblem>* problems)
        : stageImage_(stage.stageImage), backImage_(stage.backImage), problems_(problems) {}

    bool clean() const { return clean_; }

    // Resolves and checks one line (without its '\n'); returns true when it was rewritten.
    bool line(int number, std::string_view text, std::string& rewritten) {
        number_ = number;
        LineFields fields(text);
        const std::string time = fields.parsed(0);
        if (time.empty() || trimmed(time).substr(0, 1) == "#") return false;
        const std::string keyword = fields.parsed(1);
        bool changed = false;
        if (keyword == "BACK_OBJECT_MIDDLE" || keyword == "BACK_OBJECT_HIGH") {
            changed = sceneryLine(keyword, fields);
        } else if (keyword == "MAP_POS_Y" || keyword == "MAP_LOOP_POINT_Y" ||
                   keyword == "MAP_LOOP_BACK_POINT_Y") {
            changed = mapLine(keyword, fields);
        }
        if (changed) rewritten = fields.joined();
        return changed;
    }

  private:
    void problem(std::string message) {
        clean_ = false;
        if (problems_) problems_->push_back({number_, std::move(message)});
    }

    // The cell a name gives, with its frame; null (after saying why) when there is none.
    const atlas::CellEntry* named(const PictureCells& picture, const std::string& field,
                                  int32_t& frame) {
        if (!picture.inAtlas()) {
            problem(std::string(picture.file()) + " is not in the atlas");
            return nullptr;
        }
        std::string_view name = trimmed(field);
        frame = 0;
        const size_t colon = name.find(':');
        if (colon != std::string_view::npos) {
            const std::string_view digits = name.substr(colon + 1);
            name = name.substr(0, colon);
            if (digits.empty() || digits.size() > 4 ||
                digits.find_first_not_of("0123456789") != std::string_view::npos) {
                problem("\"" + std::string(field) + "\": a frame is written Cell:N");
                return nullptr;
            }
            frame = static_cast<int32_t>(std::stoi(std::string(digits)));
        }
        const atlas::CellEntry* entry = picture.find(name);
        if (!entry) {
            problem("no cell \"" + std::string(name) + "\" in " + picture.file());
            return nullptr;
        }
        if (frame >= entry->cell.frames) {
            problem(std::string(name) + " has " + std::to_string(entry->cell.frames) +
                    " frame(s), not frame " + std::to_string(frame));
            return nullptr;
        }
        return entry;
    }

    // time,BACK_OBJECT_*,x,y,width,height,source x,source y: the rectangle must be a frame of
    // a cell of the stage image.
    bool sceneryLine(const std::string& keyword, LineFields& fields) {
        const PictureCells picture(stageImage_);
        bool changed = false;
        if (isCellName(fields.raw(4))) {
            int32_t frame = 0;
            const atlas::CellEntry* entry = named(picture, fields.raw(4), frame);
            if (!entry) return false;
            const atlas::Cell& cell = entry->cell;
            fields.replace(4, std::to_string(cell.w) + "," + std::to_string(cell.h) + "," +
                                  std::to_string(cell.frameX(frame)) + "," +
                                  std::to_string(cell.frameY(frame)));
            changed = true;
        }
        // The check reads the line as written out, as the parser will.
        const LineFields written(fields.joined());
        const int32_t w = integerValue(written.parsed(4));
        const int32_t h = integerValue(written.parsed(5));
        const int32_t x = integerValue(written.parsed(6));
        const int32_t y = integerValue(written.parsed(7));
        if (!picture.inAtlas()) {
            problem(std::string(picture.file()) + " is not in the atlas");
            return changed;
        }
        bool found = false;
        std::string sameCorner;
        picture.forEach([&](const atlas::CellEntry& entry) {
            const atlas::Cell& cell = entry.cell;
            for (int32_t i = 0; i < cell.frames && !found; ++i) {
                const bool corner = cell.frameX(i) == x && cell.frameY(i) == y;
                found = corner && cell.w == w && cell.h == h;
                if (corner && sameCorner.empty()) {
                    sameCorner = std::string(" (") + entry.name + " there is " +
                                 std::to_string(cell.w) + " x " + std::to_string(cell.h) + ")";
                }
            }
        });
        if (!found) {
            problem(keyword + " " + std::to_string(w) + " x " + std::to_string(h) + " from (" +
                    std::to_string(x) + ", " + std::to_string(y) + ") is no cell of " +
                    picture.file() + sameCorner);
        }
        return changed;
    }

    // time,MAP_*,row: a named row is the cell's y (the loop-back point: y + height); a loop row
    // must be 0 or a row of a loop cell of the background.
    bool mapLine(const std::string& keyword, LineFields& fields) {
        const PictureCells picture(backImage_);
        const bool backPoint = keyword == "MAP_LOOP_BACK_POINT_Y";
        const bool loopRow = backPoint || keyword == "MAP_LOOP_POINT_Y";
        auto rowOf = [&](const atlas::Cell& cell) { return backPoint ? cell.y + cell.h : cell.y; };
        bool changed = false;
        if (isCellName(fields.raw(2))) {
            int32_t frame = 0;
            const atlas::CellEntry* entry = named(picture, fields.raw(2), frame);
            if (!entry) return false;
            if (loopRow && !isLoopCell(entry->name)) {
                problem(keyword + " names " + entry->name + ", which is no loop cell (a cell " +
                        "whose name ends in \"" + kLoopSuffix + "\")");
                return false;
            }
            fields.replace(2, std::to_string(rowOf(entry->cell)));
            changed = true;
        }
        if (!loopRow) return changed;
        const int32_t row = scriptNumberField(LineFields(fields.joined()).parsed(2).c_str());
        if (row == 0) return changed;
        if (!picture.inAtlas()) {
            problem(std::string(picture.file()) + " is not in the atlas");
            return changed;
        }
        bool found = false;
        std::string loops;
        picture.forEach([&](const atlas::CellEntry& entry) {
            if (!isLoopCell(entry.name)) return;
            found = found || row == rowOf(entry.cell) * 65536;
            loops += std::string(loops.empty() ? "" : ", ") + entry.name + " " +
                     std::to_string(rowOf(entry.cell));
        });
        if (!found) {
            problem(keyword + " " + pixels(row) + " is neither 0 nor the " +
                    (backPoint ? "y + height" : "y") + " of a loop cell of " + picture.file() +
                    (loops.empty() ? std::string(" (it has none)") : " (" + loops + ")"));
        }
        return changed;
    }

    const char* stageImage_;
    const char* backImage_;
    std::vector<ScriptCellProblem>* problems_;
    int number_ = 0;
    bool clean_ = true;
};

}  // namespace

bool resolveScriptCells(std::string_view text, const StageTable& stage, std::string& resolved,
                        std::vector<ScriptCellProblem>* problems) {
    // A NUL ends the script for the parser; nothing after it is read.
    text = text.substr(0, text.find('\0'));
    resolved.clear();
    resolved.reserve(text.size());
    Resolver resolver(stage, problems);
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        ++number;
        const size_t newline = text.find('\n', start);
        const size_t end = newline == std::string_view::npos ? text.size() : newline;
        const std::string_view line = text.substr(start, end - start);
        std::string rewritten;
        if (resolver.line(number, line, rewritten)) {
            resolved += rewritten;
        } else {
            resolved += line;
        }
        if (newline != std::string_view::npos) resolved += '\n';
        start = end + 1;
    }
    return resolver.clean();
}

}  // namespace vg
