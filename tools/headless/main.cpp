// Runs the game headless for a number of frames, with keys from a key script, and writes the
// screen as PNG every K frames and after the last frame.
//
//   vesperglint-headless --frames N [--keys FILE] [--dump-every K] [--out DIR] [--game DIR]
//                        [--save FILE] [--test-scene SHIP[,SHIP]]
//
// --test-scene starts an empty play field with the ships of the given types (0..3; a second
// type adds player 2) ready to play, instead of the game's start (see player/TestScene.h).
//
// The game folder (default: the current folder) is where data.pck and sound/ live, as for the
// game itself. The run reads and writes a save file only when --save names one, so it never
// changes a player's settings or scores by accident.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/HeadlessHost.h"
#include "core/System.h"
#include "player/TestScene.h"
#include "resources/Png.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vesperglint-headless --frames N [--keys FILE] [--dump-every K] "
                 "[--out DIR] [--game DIR] [--save FILE] [--test-scene SHIP[,SHIP]]\n");
    return 2;
}

bool parseCount(const char* text, uint32_t& value) {
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    uint32_t frames = 0;
    uint32_t dumpEvery = 0;
    std::string keysPath;
    fs::path out = ".";
    std::string gameDir;
    std::string saveFile;
    int testShips[2] = {-1, -1};
    bool testScene = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return usage();
        const char* value = argv[++i];
        if (arg == "--frames") {
            if (!parseCount(value, frames)) return usage();
        } else if (arg == "--dump-every") {
            if (!parseCount(value, dumpEvery)) return usage();
        } else if (arg == "--keys") {
            keysPath = value;
        } else if (arg == "--out") {
            out = fs::absolute(value);
        } else if (arg == "--game") {
            gameDir = value;
        } else if (arg == "--save") {
            saveFile = value;
        } else if (arg == "--test-scene") {
            char second = 0;
            testScene = std::sscanf(value, "%d,%d%c", &testShips[0], &testShips[1], &second) >= 1;
            if (!testScene || second != 0) return usage();
        } else {
            return usage();
        }
    }
    if (frames == 0) return usage();

    vg::KeyScript script;
    if (!keysPath.empty()) {
        std::ifstream file(keysPath, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", keysPath.c_str());
            return 1;
        }
        std::stringstream text;
        text << file.rdbuf();
        std::string error;
        if (!script.parse(text.str(), &error)) {
            std::fprintf(stderr, "%s: %s\n", keysPath.c_str(), error.c_str());
            return 1;
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
    vg::HeadlessHost host(std::move(script), !testScene, saveFile);
    if (testScene && vg::startTestScene(host.system(), testShips[0], testShips[1]) == 0) {
        std::fprintf(stderr, "no ship of types %d,%d\n", testShips[0], testShips[1]);
        return 2;
    }
    const uint32_t ran = host.run(frames, [&](uint32_t frame, const vg::DIB& screen) {
        if (dumpEvery && (frame + 1) % dumpEvery == 0) dump(frame, screen);
    });
    if (!dumpEvery || ran % dumpEvery != 0) dump(ran - 1, host.screen());
    std::printf("%u frames\n", ran);
    return written ? 0 : 1;
}
