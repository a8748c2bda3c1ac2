// Stage scripts with named cells: any bytes resolve without a crash, keep their lines, resolve
// to the same text a second time (nothing named is left that could be read), and parse.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFile.h"
#include "stage/ScriptCells.h"
#include "stage/StageScript.h"
#include "stage/StageTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first stage has its pictures in the atlas; the second does not yet.
    for (uint8_t stage : {uint8_t{0}, uint8_t{1}}) {
        std::string resolved;
        std::vector<vg::ScriptCellProblem> problems;
        vg::resolveScriptCells(text, vg::stageTable(stage), resolved, &problems);
        const std::string_view read = text.substr(0, text.find('\0'));
        vg::fuzz::check(std::count(read.begin(), read.end(), '\n') ==
                        std::count(resolved.begin(), resolved.end(), '\n'));
        for (const vg::ScriptCellProblem& problem : problems) vg::fuzz::check(problem.line >= 1);

        std::string again;
        vg::resolveScriptCells(resolved, vg::stageTable(stage), again);
        vg::fuzz::check(again == resolved);

        std::vector<vg::StageEvent> events;
        vg::parseStageScript(resolved.data(), resolved.size(), events);
    }
    return 0;
}
