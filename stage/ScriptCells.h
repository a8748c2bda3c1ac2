#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vg {

struct StageTable;

// A script line whose scenery rectangle or map row does not agree with the atlas, or that names
// a cell the atlas does not have.
struct ScriptCellProblem {
    int line;  // 1-based, as the parser counts lines
    std::string message;
};

// The named-cell form of a stage script. Four keywords may name an atlas cell where the
// numeric form repeats its numbers:
//
//     time,BACK_OBJECT_MIDDLE,x,y,Cell[:frame]   (and BACK_OBJECT_HIGH)
//         width, height, source x, source y of that frame (default 0) of a cell of the
//         stage image
//     time,MAP_POS_Y,Cell                 the y of a cell of the background
//     time,MAP_LOOP_POINT_Y,Cell          the y of a loop cell of the background
//     time,MAP_LOOP_BACK_POINT_Y,Cell     the y + height of that loop cell
//
// A value is a name when, after blanks and tabs, it begins with a letter. A loop cell is a cell
// of the background whose name ends in "Loop": the rows that repeat with the period of its
// height, so jumping from its y back to its y + height cannot be seen.
//
// resolveScriptCells writes `text` to `resolved` with every named value in numbers and every
// other byte as it was (lines keep their numbers), reading lines and fields as the parser does.
// It also checks every scenery rectangle and loop row, named or numeric, against the atlas: a
// BACK_OBJECT_* rectangle must be a frame of a cell of the stage image, a loop row 0 (no loop)
// or a row of a loop cell as above. Problems, when asked for, are the lines that fail; a name
// that is not in the atlas is left as it stands (the parser reads it as 0). True when there
// were none.
bool resolveScriptCells(std::string_view text, const StageTable& stage, std::string& resolved,
                        std::vector<ScriptCellProblem>* problems = nullptr);

}  // namespace vg
