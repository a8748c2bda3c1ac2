#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "app/HeadlessHost.h"
#include "app/KeyScript.h"
#include "app/PlayStats.h"

namespace vg {

// What one headless run does (the flags of vesperglint-headless).
struct HeadlessOptions {
    // Frames to run at most; 0 means no limit other than the end of a single stage.
    uint32_t frames = 0;
    KeyScript keys;
    // Save file to load and write; empty for none.
    std::string saveFile;
    // -1: start as the game does (logo, title). 0..4: play that stage directly as a single
    // chosen stage with `difficulty` and the ship types in `ships` (255: no second player); the
    // run then ends with the stage's hand-over.
    int stage = -1;
    uint8_t difficulty = 0;
    std::array<uint8_t, 2> ships{0, 255};
    // Ships cannot be hit (a test aid).
    bool invincible = false;
    // A loose script file played instead of the stage's script in data.pck.
    std::string scriptFile;
    // Written as the run goes: one CSV line per enemy bullet.
    std::string traceFile;
    // Start the empty test play field (player/TestScene.h) with these ship types (-1: none)
    // instead of the game's start.
    bool testScene = false;
    std::array<int, 2> testShips{-1, -1};
};

// One headless run with its statistics: the host, the options applied, the observer installed.
class HeadlessSession {
  public:
    // The working folder must be the game folder (data.pck, sound/) when this is made.
    explicit HeadlessSession(HeadlessOptions options);

    // Runs until the frame limit, a quit, or the hand-over at the end of a directly started
    // stage. Returns the frames run.
    uint32_t run(const HeadlessHost::FrameObserver& afterFrame = {});

    HeadlessHost& host() { return *host_; }
    PlayStats& stats() { return *stats_; }
    bool traceOpen() const { return options_.traceFile.empty() || trace_.is_open(); }

  private:
    HeadlessOptions options_;
    std::unique_ptr<HeadlessHost> host_;
    std::unique_ptr<PlayStats> stats_;
    std::ofstream trace_;
};

}  // namespace vg
