// Runs the game headless with keys from a key script (or the bot), writes the screen as PNG
// every K frames and after the last frame, records replays and verifies them.
//
//   vesperglint-headless [--frames N] [--keys FILE] [--dump-every K] [--out DIR] [--game DIR]
//                        [--save FILE] [--stage S[,S...] --difficulty D --ships A[,B]]
//                        [--invincible] [--script FILE] [--stats FILE] [--trace FILE]
//                        [--test-scene SHIP[,SHIP]] [--autoplay] [--record FILE]
//                        [--date YYYY-MM-DDThh:mm]
//   vesperglint-headless --verify-replay FILE [--game DIR]
//   vesperglint-headless --rerecord IN OUT [--game DIR]
//
// --test-scene starts an empty play field with the ships of the given types (0..3; a second
// type adds player 2) ready to play, instead of the game's start (see player/TestScene.h).
// --autoplay lets the bot play (app/Bot.h); --record saves the run as a replay; --verify-replay
// plays a replay's stages and compares their end scores and check trails with the file (exit 0
// all match, 1 a mismatch, 2 a file it cannot read or a stage whose input is damaged);
// --rerecord plays a replay's stages from their own input and writes the file again with the
// scores and the check trail that play gives, its input unchanged (exit 0 written, 1 not
// written, 2 as for --verify-replay).
//
// The game folder (default: the current folder) is where data.pck and sound/ live, as for the
// game itself. The run reads and writes a save file only when --save names one, so it never
// changes a player's settings or scores by accident. README.md ("For developers") describes
// every flag.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/HeadlessSession.h"
#include "app/ReplayCheck.h"
#include "resources/Png.h"
#include "stage/ScriptCells.h"
#include "stage/StageTable.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vesperglint-headless [--frames N] [--keys FILE] [--dump-every K] "
                 "[--out DIR] [--game DIR] [--save FILE] [--stage S --difficulty D --ships "
                 "A[,B]] [--invincible] [--script FILE] [--stats FILE] [--trace FILE] "
                 "[--test-scene SHIP[,SHIP]] [--autoplay] [--record FILE] "
                 "[--date YYYY-MM-DDThh:mm]\n"
                 "       vesperglint-headless --verify-replay FILE [--game DIR]\n"
                 "       vesperglint-headless --rerecord IN OUT [--game DIR]\n");
    return 2;
}

bool parseCount(std::string_view text, uint32_t& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

bool parseSmall(std::string_view text, uint32_t highest, uint8_t& value) {
    uint32_t number = 0;
    if (!parseCount(text, number) || number > highest) return false;
    value = static_cast<uint8_t>(number);
    return true;
}

bool parseShips(std::string_view text, std::array<uint8_t, 2>& ships) {
    ships = {0, 255};
    const size_t comma = text.find(',');
    if (!parseSmall(text.substr(0, comma), 3, ships[0])) return false;
    return comma == std::string_view::npos || parseSmall(text.substr(comma + 1), 3, ships[1]);
}

// "0" or "0,1,2": the first stage and the ones played after it.
bool parseStages(std::string_view text, int& first, std::vector<int>& more) {
    more.clear();
    bool isFirst = true;
    while (true) {
        const size_t comma = text.find(',');
        uint8_t stage = 0;
        if (!parseSmall(text.substr(0, comma), 4, stage)) return false;
        if (isFirst) {
            first = stage;
            isFirst = false;
        } else {
            more.push_back(stage);
        }
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
}

// "2026-01-02T03:04": the date a recorded replay carries, for repeatable files.
bool parseDate(const char* text, vg::ReplayStamp& stamp) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    char extra = 0;
    if (std::sscanf(text, "%4d-%2d-%2dT%2d:%2d%c", &year, &month, &day, &hour, &minute, &extra) !=
        5) {
        return false;
    }
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59) {
        return false;
    }
    stamp = vg::ReplayStamp{static_cast<uint8_t>(year % 100), static_cast<uint8_t>(month),
                            static_cast<uint8_t>(day), static_cast<uint8_t>(hour),
                            static_cast<uint8_t>(minute)};
    return true;
}

// The verifier's lines, one per stage; false when the file could not be read at all.
bool printStages(const vg::ReplayCheck& check, const std::string& path) {
    if (check.status == vg::ReplayCheck::Status::Unreadable) {
        std::fprintf(stderr, "cannot read a replay from %s\n", path.c_str());
        return false;
    }
    for (const vg::StageCheck& stage : check.stages) {
        std::printf("%s\n", vg::describe(stage).c_str());
    }
    return true;
}

int verifyReplay(const std::string& path) {
    const vg::ReplayCheck check = vg::checkReplay(path);
    if (!printStages(check, path)) return 2;
    switch (check.status) {
        case vg::ReplayCheck::Status::Ok:
            return 0;
        case vg::ReplayCheck::Status::Mismatch:
            return 1;
        default:
            return 2;
    }
}

// Prints how the file's own record compares with its play, then writes the new file.
int rerecordReplay(const std::string& in, const std::string& out) {
    bool written = false;
    const vg::ReplayCheck check = vg::rerecordReplay(in, out, written);
    if (!printStages(check, in)) return 2;
    if (check.status == vg::ReplayCheck::Status::Damaged) {
        std::fprintf(stderr, "%s has a damaged stage: not recorded again\n", in.c_str());
        return 2;
    }
    for (const vg::StageCheck& stage : check.stages) {
        if (stage.handedOverAt < 0) continue;
        std::fprintf(stderr,
                     "stage %d now hands over at frame %d of the %d recorded; its input is kept "
                     "whole\n",
                     stage.stage, stage.handedOverAt, stage.frames);
    }
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("recorded again into %s\n", out.c_str());
    return 0;
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::stringstream buffer;
    buffer << file.rdbuf();
    text = buffer.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    vg::HeadlessOptions options;
    uint32_t dumpEvery = 0;
    std::string keysPath;
    fs::path out = ".";
    std::string gameDir;
    std::string statsPath;
    bool stageGiven = false;
    bool difficultyGiven = false;
    bool shipsGiven = false;
    std::string recordPath;
    std::string verifyPath;
    std::string rerecordIn;
    std::string rerecordOut;
    auto absolute = [](const char* path) { return fs::absolute(path).string(); };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--invincible") {
            options.invincible = true;
            continue;
        }
        if (arg == "--autoplay") {
            options.autoplay = true;
            continue;
        }
        if (i + 1 >= argc) return usage();
        const char* value = argv[++i];
        if (arg == "--frames") {
            if (!parseCount(value, options.frames) || options.frames == 0) return usage();
        } else if (arg == "--dump-every") {
            if (!parseCount(value, dumpEvery)) return usage();
        } else if (arg == "--keys") {
            keysPath = value;
        } else if (arg == "--out") {
            out = fs::absolute(value);
        } else if (arg == "--game") {
            gameDir = value;
        } else if (arg == "--save") {
            options.saveFile = value;
        } else if (arg == "--stage") {
            if (!parseStages(value, options.stage, options.moreStages)) return usage();
            stageGiven = true;
        } else if (arg == "--record") {
            recordPath = absolute(value);
        } else if (arg == "--verify-replay") {
            verifyPath = absolute(value);
        } else if (arg == "--rerecord") {
            if (i + 1 >= argc) return usage();
            rerecordIn = absolute(value);
            rerecordOut = absolute(argv[++i]);
        } else if (arg == "--date") {
            vg::ReplayStamp stamp;
            if (!parseDate(value, stamp)) return usage();
            options.replayDate = stamp;
        } else if (arg == "--difficulty") {
            if (!parseSmall(value, 4, options.difficulty)) return usage();
            difficultyGiven = true;
        } else if (arg == "--ships") {
            if (!parseShips(value, options.ships)) return usage();
            shipsGiven = true;
        } else if (arg == "--script") {
            options.scriptFile = absolute(value);
        } else if (arg == "--stats") {
            statsPath = absolute(value);
        } else if (arg == "--trace") {
            options.traceFile = absolute(value);
        } else if (arg == "--test-scene") {
            char second = 0;
            int ships[2] = {-1, -1};
            options.testScene = std::sscanf(value, "%d,%d%c", &ships[0], &ships[1], &second) >= 1;
            if (!options.testScene || second != 0) return usage();
            options.testShips = {ships[0], ships[1]};
        } else {
            return usage();
        }
    }
    // Both replay checks stand alone, with at most the game folder beside them.
    const int replayArgs = !verifyPath.empty() ? 3 : !rerecordIn.empty() ? 4 : 0;
    if (replayArgs > 0) {
        if (argc != replayArgs && !(argc == replayArgs + 2 && !gameDir.empty())) return usage();
        if (!gameDir.empty() && chdir(gameDir.c_str()) != 0) {
            std::fprintf(stderr, "cannot enter %s\n", gameDir.c_str());
            return 2;
        }
        return !verifyPath.empty() ? verifyReplay(verifyPath)
                                   : rerecordReplay(rerecordIn, rerecordOut);
    }
    // A run needs an end: a frame count, a stage that ends by itself, or the bot's game.
    if (options.frames == 0 && !stageGiven && !options.autoplay) return usage();
    if (options.autoplay && !keysPath.empty()) {
        std::fprintf(stderr, "--autoplay plays without --keys\n");
        return 2;
    }
    // What a replay cannot hold would make it play back as another game.
    if (!recordPath.empty() &&
        (options.invincible || !options.scriptFile.empty() || options.testScene)) {
        std::fprintf(stderr, "--record goes without --invincible, --script and --test-scene\n");
        return 2;
    }
    if (((difficultyGiven || shipsGiven) && !stageGiven && !options.autoplay) ||
        (!options.scriptFile.empty() && !stageGiven)) {
        std::fprintf(stderr,
                     "--difficulty and --ships go with --stage or --autoplay, "
                     "--script with --stage\n");
        return 2;
    }
    if (!keysPath.empty()) {
        std::string text;
        if (!readFile(keysPath, text)) {
            std::fprintf(stderr, "cannot read %s\n", keysPath.c_str());
            return 1;
        }
        std::string error;
        if (!options.keys.parse(text, &error)) {
            std::fprintf(stderr, "%s: %s\n", keysPath.c_str(), error.c_str());
            return 1;
        }
    }
    if (!options.scriptFile.empty()) {
        std::string text;
        if (!readFile(options.scriptFile, text)) {
            std::fprintf(stderr, "cannot read %s\n", options.scriptFile.c_str());
            return 1;
        }
        // The game reads the script's named cells as the data build does; what does not agree
        // with the atlas is worth a word, but the run goes on (the author is trying a wave).
        std::string resolved;
        std::vector<vg::ScriptCellProblem> problems;
        vg::resolveScriptCells(text, vg::stageTable(static_cast<uint8_t>(options.stage)), resolved,
                               &problems);
        for (const vg::ScriptCellProblem& problem : problems) {
            std::fprintf(stderr, "%s:%d: %s\n", options.scriptFile.c_str(), problem.line,
                         problem.message.c_str());
        }
    }
    std::error_code ec;
    fs::create_directories(out, ec);
    if (!gameDir.empty() && chdir(gameDir.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", gameDir.c_str());
        return 1;
    }

    bool written = true;
    auto dump = [&](uint32_t frame, const vg::DIB& screen) {
        char name[32];
        std::snprintf(name, sizeof name, "frame%06u.png", frame);
        written = vg::savePng((out / name).c_str(), screen) && written;
    };
    vg::HeadlessSession session(std::move(options));
    if (!session.traceOpen()) {
        std::fprintf(stderr, "cannot write the trace\n");
        return 1;
    }
    const uint32_t ran = session.run([&](uint32_t frame, const vg::DIB& screen) {
        if (dumpEvery && (frame + 1) % dumpEvery == 0) dump(frame, screen);
    });
    if (ran > 0 && (!dumpEvery || ran % dumpEvery != 0)) dump(ran - 1, session.host().screen());
    if (!statsPath.empty()) {
        std::ofstream stats(statsPath, std::ios::binary | std::ios::trunc);
        stats << session.stats().json();
        if (!stats.flush()) {
            std::fprintf(stderr, "cannot write %s\n", statsPath.c_str());
            written = false;
        }
    }
    if (!recordPath.empty() && !session.saveReplay(recordPath)) {
        std::fprintf(stderr, "cannot record a replay into %s\n", recordPath.c_str());
        written = false;
    }
    std::printf("%u frames\n", ran);
    return written ? 0 : 1;
}
