#include "stage/StageScript.h"

#include <cstdio>
#include <cstring>

#include "core/TaskArena.h"
#include "resources/Package.h"
#include "stage/ScriptCells.h"
#include "stage/ScriptReader.h"
#include "stage/StageControl.h"

namespace vg {

const std::vector<ScriptKeyword>& scriptKeywords() {
    // For the enemies the first two fields are the spawn position and the last integer field,
    // where there is one, the attack level.
    static const std::vector<ScriptKeyword> table = {
        {"MAP_SCROLL_SPEED", kEventMapScrollSpeed, "N"},
        {"MAP_POS_Y", kEventMapPosY, "N"},
        {"MAP_LOOP_BACK_POINT_Y", kEventMapLoopBackPointY, "N"},
        {"MAP_LOOP_POINT_Y", kEventMapLoopPointY, "N"},
        {"ENEMY_TANKSMALL", 100, "NNNNII"},
        {"ENEMY_TANKSMALL_MIDDLE", 101, "NNNNII"},
        {"ENEMY_TANKSMALL2", 102, "NNNNII"},
        {"ENEMY_TANKSMALL2_MIDDLE", 103, "NNNNII"},
        {"ENEMY_FLYSMALL", 104, "NNNNI"},
        {"ENEMY_FLYSMALL_BRAKE", 105, "NNNNNII"},
        {"ENEMY_FLYSMALL_CURVE", 106, "NNNNNNII"},
        {"ENEMY_FLYSMALL_SHIP", 107, "NNNI"},
        {"ENEMY_FLYSMALL_SHIP_BRAKE", 108, "NNNNII"},
        {"ENEMY_KITE", 109, "NNNNI"},
        {"ENEMY_FLYMEDIUM_A", 110, "NNI"},
        {"ENEMY_FLYMEDIUM_B", 111, "NNI"},
        {"ENEMY_FLYMEDIUM_C", 112, "NNI"},
        {"ENEMY_HELI_POWER", 113, "NN"},
        {"ENEMY_HELI_BOMB", 114, "NN"},
        {"ENEMY_SEMIBOSS_1", 115, "NNNNII"},
        {"ENEMY_BOSS_1", 116, "NNI"},
        {"ENEMY_SEMIBOSS_2", 117, "NNI"},
        {"ENEMY_BOSS_2", 118, "NNI"},
        {"ENEMY_TINYPLANE", 119, "NNNNI"},
        {"ENEMY_TINYPLANE_CURVE", 120, "NNNNNII"},
        {"ENEMY_CANNON", 121, "NNI"},
        {"ENEMY_CANNON_MIDDLE", 122, "NNI"},
        {"ENEMY_FLYGUN", 123, "NNNNI"},
        {"ENEMY_FLYGUN_BRAKE", 124, "NNNNNII"},
        {"ENEMY_TINYPLANE2", 125, "NNNNI"},
        {"ENEMY_TINYPLANE2_CURVE", 126, "NNNNNII"},
        {"ENEMY_TINYPLANE2_SHIP_BRAKE", 127, "NNNNII"},
        {"ENEMY_FUWAFUWA", 128, "NNNNI"},
        {"ENEMY_FLYLARGE", 129, "NNI"},
        {"ENEMY_SEMIBOSS3_UNDER", 130, "NNNN"},
        {"ENEMY_SEMIBOSS3", 131, "NNI"},
        {"ENEMY_BOSS3_LARGE", 132, "NNNNI"},
        {"ENEMY_BOSS3_SMALL", 133, "I"},
        {"ENEMY_BOSS3_LINKED", 134, "NNNI"},
        {"ENEMY_KITE_RED", 135, "NNNNI"},
        {"ENEMY_FLYMEDIUM_C2", 136, "NNI"},
        {"ENEMY_BOAT", 137, "NNNNI"},
        {"ENEMY_BOAT_MIDDLE", 138, "NNNNI"},
        {"ENEMY_BOAT_LARGE", 139, "NNNNI"},
        {"ENEMY_SEMIBOSS4", 140, "NNI"},
        {"ENEMY_BOSS4", 141, "NNI"},
        {"ENEMY_TANK_MIDIUM", 142, "NNNII"},
        {"ENEMY_TANK_MIDIUM_MIDDLE", 143, "NNNII"},
        {"ENEMY_TANK_MIDIUM2", 144, "NNNII"},
        {"ENEMY_TANK_MIDIUM2_MIDDLE", 145, "NNNII"},
        {"ENEMY_SEMIBOSS5_A", 146, "NNNNII"},
        {"ENEMY_SEMIBOSS5_B", 147, "NNI"},
        {"ENEMY_SEMIBOSS5_C", 148, "NNI"},
        {"ENEMY_SEMIBOSS5_D", 149, "NNI"},
        {"ENEMY_BOSS5_A", 150, "NNI"},
        {"ENEMY_BOSS5_B", 151, "NNI"},
        {"ENEMY_BOSS5_C", 152, "NNI"},
        {"ENEMY_BOSS5_D", 153, "NNI"},
        {"BACK_OBJECT_MIDDLE", kEventBackObjectMiddle, "NNIIII"},
        {"BACK_OBJECT_HIGH", kEventBackObjectHigh, "NNIIII"},
        {"CLOUD", kEventCloud, "NNNNI"},
        {"CLOUD_EX", kEventCloudEx, "NNNNI"},
        {"HOLE", kEventHole, "NNI"},
        {"HOLE_MOVE", kEventHoleMove, "NNNI"},
        {"WARNING", kEventWarning, "-"},
        {"RESULT", kEventResult, "-"},
        {"SET_TIME", kEventSetTime, "I"},
        {"SET_TIME_IF_ON_ENEMY", kEventSetTimeIfOnEnemy, "I"},
        {"SET_TIME_IF_NONE_ENEMY", kEventSetTimeIfNoneEnemy, "I"},
        {"STAGE_COMPLETE", kEventStageComplete, ""},
        {"ENDING_IMAGE", kEventEndingImage, "IIIIIII"},
        {"ENDING_FONT", kEventEndingFont, "III"},
        {"ENDING_FINISH", kEventEndingFinish, ""},
    };
    return table;
}

namespace {

const ScriptKeyword* findKeyword(const char* name) {
    for (const ScriptKeyword& keyword : scriptKeywords()) {
        if (std::strcmp(keyword.name, name) == 0) return &keyword;
    }
    return nullptr;
}

bool isComment(const char* field) {
    while (*field == ' ' || *field == '\t') ++field;
    return *field == '#';
}

}  // namespace

void parseStageScript(const char* text, size_t size, std::vector<StageEvent>& events,
                      std::vector<ScriptProblem>* problems) {
    ScriptReader reader(text, size);
    int line = 0;
    auto noteCut = [&] {
        if (problems && reader.fieldCut()) {
            problems->push_back({ScriptProblem::LongField, line, reader.field()});
        }
    };
    while (!reader.atEnd()) {
        ++line;
        reader.readField();
        // An empty first field (an empty line, or one starting with a comma) is skipped like a
        // comment.
        if (reader.fieldLength() == 0 || isComment(reader.field())) {
            reader.skipLine();
            continue;
        }
        noteCut();
        StageEvent event;
        event.time = scriptInteger(reader.field());
        reader.readField();
        noteCut();
        const ScriptKeyword* keyword = findKeyword(reader.field());
        if (keyword) {
            event.kind = keyword->kind;
            int arg = 0;
            for (const char* kind = keyword->fields; *kind; ++kind) {
                reader.readField();
                noteCut();
                if (*kind == '-') continue;
                event.args[arg++] = *kind == 'N' ? scriptNumberField(reader.field())
                                                 : scriptIntegerField(reader.field());
            }
            events.push_back(event);
        } else if (problems && !reader.fieldCut()) {
            problems->push_back({ScriptProblem::UnknownKeyword, line, reader.field()});
        }
        reader.skipLine();
    }
}

namespace {

// A buffer from the arena, given back on every return.
class ArenaBuffer {
  public:
    ArenaBuffer(TaskArena& arena, size_t size) : arena_(arena), data_(arena.arenaAlloc(size)) {}
    ~ArenaBuffer() { arena_.arenaFree(data_); }
    ArenaBuffer(const ArenaBuffer&) = delete;
    ArenaBuffer& operator=(const ArenaBuffer&) = delete;
    char* data() const { return static_cast<char*>(data_); }

  private:
    TaskArena& arena_;
    void* data_;
};

}  // namespace

bool LoadStageScript(PackageReader* package, StageControl* control, const char* name,
                     TaskArena* arena) {
    if (!control) return false;
    control->events.clear();
    if (!package || !name || !arena || !package->isOpen()) return false;
    if (!package->findEntry(name)) return false;
    const uint32_t size = package->entrySize();
    ArenaBuffer buffer(*arena, static_cast<size_t>(size) + 8);
    if (!buffer.data()) return false;
    std::memset(buffer.data(), 0, static_cast<size_t>(size) + 8);
    if (!package->readEntry(size, buffer.data())) return false;
    parseStageScript(buffer.data(), size, control->events);
    return true;
}

bool loadStageScriptFile(const char* path, StageControl* control, TaskArena* arena,
                         const StageTable* stage) {
    if (!control) return false;
    control->events.clear();
    if (!path || !arena) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size >= 0 && size < static_cast<long>(arena->capacity()) &&
         std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        ArenaBuffer buffer(*arena, static_cast<size_t>(size) + 8);
        ok = buffer.data() && std::fread(buffer.data(), 1, static_cast<size_t>(size), file) ==
                                  static_cast<size_t>(size);
        if (ok && stage) {
            std::string resolved;
            resolveScriptCells(std::string_view(buffer.data(), static_cast<size_t>(size)), *stage,
                               resolved);
            parseStageScript(resolved.data(), resolved.size(), control->events);
        } else if (ok) {
            parseStageScript(buffer.data(), static_cast<size_t>(size), control->events);
        }
    }
    std::fclose(file);
    return ok;
}

}  // namespace vg
