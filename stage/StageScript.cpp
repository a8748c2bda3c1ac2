#include "stage/StageScript.h"

#include <cstdio>
#include <cstring>

#include "core/TaskArena.h"
#include "enemy/EnemyKinds.h"
#include "resources/Package.h"
#include "stage/ScriptCells.h"
#include "stage/ScriptReader.h"
#include "stage/StageControl.h"

namespace vg {

const std::vector<ScriptKeyword>& scriptKeywords() {
    // The enemy keywords come from the kind table, which also says what their fields mean.
    static const std::vector<ScriptKeyword> table = [] {
        std::vector<ScriptKeyword> keywords = {
            {"MAP_SCROLL_SPEED", kEventMapScrollSpeed, "N"},
            {"MAP_POS_Y", kEventMapPosY, "N"},
            {"MAP_LOOP_BACK_POINT_Y", kEventMapLoopBackPointY, "N"},
            {"MAP_LOOP_POINT_Y", kEventMapLoopPointY, "N"},
        };
        for (const KindRow& kind : enemyKinds()) {
            keywords.push_back({kind.keyword, kind.code, kind.fields});
        }
        keywords.insert(keywords.end(),
                        {
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
                        });
        return keywords;
    }();
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
            const KindRow* enemy = findEnemyKind(keyword->kind);
            if (problems && enemy && !enemy->built()) {
                problems->push_back({ScriptProblem::KindNotBuilt, line, keyword->name});
            }
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
