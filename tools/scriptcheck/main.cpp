// vg-script-check FILE: parses a stage script with the game's own parser and prints one line
// per event, in list order: the time, the kind code and the ten argument words, as signed
// decimal integers separated by single spaces. Lines with an unknown keyword, lines naming an
// enemy kind that is not built yet and fields longer than 63 characters are reported on
// standard error with their line numbers; the exit status is 1 when there were any (or the file
// cannot be read), 0 otherwise, 2 for a wrong call.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stage/StageScript.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vg-script-check FILE\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "%s: cannot read\n", argv[1]);
        return 1;
    }
    std::stringstream buffer;
    buffer << file.rdbuf();
    const std::string text = buffer.str();

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
    return problems.empty() ? 0 : 1;
}
