// vg-script-check FILE: parses a stage script with the game's own parser and prints one line
// per event, in list order: the time, the kind code and the ten argument words, as signed
// decimal integers separated by single spaces. Lines with an unknown keyword, lines naming an
// enemy kind that is not built yet and fields longer than 63 characters are reported on
// standard error with their line numbers; the exit status is 1 when there were any (or the file
// cannot be read), 0 otherwise, 2 for a wrong call.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stage/ScriptCells.h"
#include "stage/StageScript.h"
#include "stage/StageTable.h"

namespace {

// vg-script-check FILE [--stage S] [--resolved OUT]
//
// A script of a stage (found by its file name, stage1n.dat, or given as --stage S, 0..4 as the
// headless runner counts) may name atlas cells (stage/ScriptCells.h): the check reads the names
// as the numbers they stand for, and reports every scenery rectangle and loop row, named or
// numeric, that does not agree with the atlas. With --resolved the script is written to OUT
// with the names in numbers, as data.pck holds it, and only when it checks clean.
struct Options {
    const vg::StageTable* stage = nullptr;
    const char* resolvedPath = nullptr;
};

bool readOptions(int argc, char** argv, Options& options) {
    if (argc < 2 || argc % 2 != 0) return false;
    const char* slash = std::strrchr(argv[1], '/');
    options.stage = vg::stageTableOfScript(slash ? slash + 1 : argv[1]);
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--stage") == 0) {
            char* end = nullptr;
            const long stage = std::strtol(argv[i + 1], &end, 10);
            if (*end != '\0' || stage < 0 || stage >= vg::kStageCount) return false;
            options.stage = &vg::stageTable(static_cast<uint8_t>(stage));
        } else if (std::strcmp(argv[i], "--resolved") == 0) {
            options.resolvedPath = argv[i + 1];
        } else {
            return false;
        }
    }
    return true;
}

bool writeFile(const char* path, const std::string& text) {
    const std::string temporary = std::string(path) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), path) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!readOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: vg-script-check FILE [--stage 0..4] [--resolved OUT]\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: cannot read\n", argv[1]);
        return 1;
    }
    std::stringstream buffer;
    buffer << file.rdbuf();
    std::string text = buffer.str();

    // Cells are named in the source; the parser and data.pck see the numbers.
    std::vector<vg::ScriptCellProblem> cellProblems;
    if (options.stage) {
        std::string resolved;
        vg::resolveScriptCells(text, *options.stage, resolved, &cellProblems);
        text = std::move(resolved);
    }

    std::vector<vg::StageEvent> events;
    std::vector<vg::ScriptProblem> problems;
    vg::parseStageScript(text.data(), text.size(), events, &problems);
    for (const vg::StageEvent& event : events) {
        std::printf("%d %d", event.time, event.kind);
        for (int32_t arg : event.args) std::printf(" %d", arg);
        std::printf("\n");
    }
    for (const vg::ScriptProblem& problem : problems) {
        if (problem.kind == vg::ScriptProblem::UnknownKeyword) {
            std::fprintf(stderr, "%s:%d: unknown keyword \"%s\"\n", argv[1], problem.line,
                         problem.text.c_str());
        } else if (problem.kind == vg::ScriptProblem::KindNotBuilt) {
            std::fprintf(stderr, "%s:%d: enemy kind not built yet: \"%s\" spawns nothing\n",
                         argv[1], problem.line, problem.text.c_str());
        } else {
            std::fprintf(stderr, "%s:%d: field longer than 63 characters: \"%s...\"\n", argv[1],
                         problem.line, problem.text.c_str());
        }
    }
    for (const vg::ScriptCellProblem& problem : cellProblems) {
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], problem.line, problem.message.c_str());
    }
    const bool clean = problems.empty() && cellProblems.empty();
    if (clean && options.resolvedPath && !writeFile(options.resolvedPath, text)) {
        std::fprintf(stderr, "%s: cannot write\n", options.resolvedPath);
        return 1;
    }
    return clean ? 0 : 1;
}
