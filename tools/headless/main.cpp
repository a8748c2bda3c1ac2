// Runs the game headless with keys from a key script, and writes the screen as PNG every K
// frames and after the last frame.
//
//   vesperglint-headless [--frames N] [--keys FILE] [--dump-every K] [--out DIR] [--game DIR]
//                        [--save FILE] [--stage S --difficulty D --ships A[,B]] [--invincible]
//                        [--script FILE] [--stats FILE] [--trace FILE] [--test-scene SHIP[,SHIP]]
//
// --test-scene starts an empty play field with the ships of the given types (0..3; a second
// type adds player 2) ready to play, instead of the game's start (see player/TestScene.h).
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

#include "app/HeadlessSession.h"
#include "resources/Png.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vesperglint-headless [--frames N] [--keys FILE] [--dump-every K] "
                 "[--out DIR] [--game DIR] [--save FILE] [--stage S --difficulty D --ships "
                 "A[,B]] [--invincible] [--script FILE] [--stats FILE] [--trace FILE] "
                 "[--test-scene SHIP[,SHIP]]\n");
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
    auto absolute = [](const char* path) { return fs::absolute(path).string(); };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--invincible") {
            options.invincible = true;
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
            uint8_t stage = 0;
            if (!parseSmall(value, 4, stage)) return usage();
            options.stage = stage;
            stageGiven = true;
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
    // A run needs an end: a frame count, or a stage that ends by itself.
    if (options.frames == 0 && !stageGiven) return usage();
    if ((difficultyGiven || shipsGiven || !options.scriptFile.empty()) && !stageGiven) {
        std::fprintf(stderr, "--difficulty, --ships and --script go with --stage\n");
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
    if (!options.scriptFile.empty() && !fs::exists(options.scriptFile)) {
        std::fprintf(stderr, "cannot read %s\n", options.scriptFile.c_str());
        return 1;
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
    std::printf("%u frames\n", ran);
    return written ? 0 : 1;
}
