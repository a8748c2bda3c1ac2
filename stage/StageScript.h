#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "stage/StageEvent.h"

namespace vg {

class PackageReader;
class StageControl;
class TaskArena;
struct StageTable;

// Stage scripts: text, one timed event a line,
//
//     time,KEYWORD,value1,value2,...
//
// - Fields are split on ',' and the end of the line; '\r' is dropped anywhere; a NUL ends the
//   script. A field holds at most 63 characters (a longer one is cut).
// - time: a decimal integer, frames of the stage clock. An empty time field (an empty line, a
//   line starting with ',') skips the line; so does a time field whose first character other
//   than blanks and tabs is '#' (a comment).
// - KEYWORD: compared exactly (case-sensitive, nothing trimmed) with the table in
//   StageScript.cpp; an unknown keyword skips the line.
// - values: each keyword reads a fixed list of NumberFields (N: decimal with fraction, stored
//   as 16.16) and IntegerFields (I: decimal integer, stored shifted left by 16). Missing fields
//   read as 0; fields after the last one a keyword uses are ignored (trailing remarks).
// The events keep the order of the lines; they are not sorted by time.
//
// The sources in assets/scripts/ may name an atlas cell where a line would repeat its numbers
// (the scenery rectangle of BACK_OBJECT_MIDDLE / _HIGH, the rows of MAP_POS_Y and of the loop):
//
//     2153,BACK_OBJECT_MIDDLE,108,-154,SceneryFreighter
//     0,MAP_LOOP_POINT_Y,SeaLoop
//
// The data build writes the numbers into data.pck and checks every such line, named or numeric,
// against the atlas; the game reads numbers only. ScriptCells.h tells the named form and the
// check.

// One keyword of the table: its event kind code and the kinds of its value fields, in order:
// 'N' NumberField, 'I' IntegerField, '-' a field read and ignored.
struct ScriptKeyword {
    const char* name;
    int32_t kind;
    const char* fields;
};
// The whole table, in lookup order.
const std::vector<ScriptKeyword>& scriptKeywords();

// What a content author should hear about (the game itself ignores these lines silently).
struct ScriptProblem {
    enum Kind { UnknownKeyword, LongField, KindNotBuilt };
    Kind kind;
    int line;          // 1-based
    std::string text;  // the keyword, or the first 63 characters of the long field
};

// Parses `size` bytes of script text and appends its events to `events`. Problems, when asked
// for, are the lines with an unknown keyword, the lines naming an enemy kind that is not built
// yet (the game spawns nothing for them) and the fields past 63 characters that the line's
// keyword reads (comment lines are not examined).
void parseStageScript(const char* text, size_t size, std::vector<StageEvent>& events,
                      std::vector<ScriptProblem>* problems = nullptr);

// Loads the script entry `name` of the open package into control's events (emptied first),
// through a temporary buffer from `arena`. False, with no events, when the package, the name or
// the arena is missing, the package is not open, the entry is not in it, or no buffer could be
// had; malformed lines never fail the load.
bool LoadStageScript(PackageReader* package, StageControl* control, const char* name,
                     TaskArena* arena);

// The same for a loose script file (a content author's stage override). With the stage it is
// played on, the file may name atlas cells as the packed scripts' sources do (ScriptCells.h):
// they are read as the data build writes them. False, with no events, when the file cannot be
// read or is larger than the arena can hold.
bool loadStageScriptFile(const char* path, StageControl* control, TaskArena* arena,
                         const StageTable* stage = nullptr);

}  // namespace vg
