#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Bot.h"
#include "app/HeadlessHost.h"
#include "app/KeyScript.h"
#include "app/MenuDriver.h"
#include "app/PlayStats.h"
#include "replay/ReplayData.h"

namespace vg {

// What one headless run does (the flags of vesperglint-headless).
struct HeadlessOptions {
    // Frames to run at most; 0 means no limit other than the end of a single stage. With
    // `moreStages` the limit is per stage.
    uint32_t frames = 0;
    KeyScript keys;
    // Save file to load and write; empty for none.
    std::string saveFile;
    // -1: start as the game does (logo, title). 0..4: play that stage directly as a single
    // chosen stage with `difficulty` and the ship types in `ships` (255: no second player); the
    // run then ends with the stage's hand-over.
    int stage = -1;
    // Stages played after `stage` in the same run, each started the same way (a new game's
    // records with the stage's power) once the one before has handed over or run `frames`
    // frames; all go into the one replay.
    std::vector<int> moreStages;
    uint8_t difficulty = 0;
    std::array<uint8_t, 2> ships{0, 255};
    // The bot (app/Bot.h) plays every player in the game. Without `stage` it also goes through
    // the logo, the title and the set-up screens to a full game on `difficulty` with `ships`;
    // the run then ends when the game is over (or after `frames`).
    bool autoplay = false;
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
    // The date saveReplay writes into the replay; none: the local time.
    std::optional<ReplayStamp> replayDate;
};

// One headless run with its statistics: the host, the options applied, the observer installed.
class HeadlessSession {
  public:
    // The working folder must be the game folder (data.pck, sound/) when this is made.
    explicit HeadlessSession(HeadlessOptions options);

    // Runs until the frame limit, a quit, or the hand-over at the end of the last directly
    // started stage (or the end of the game the bot plays). Returns the frames run.
    uint32_t run(const HeadlessHost::FrameObserver& afterFrame = {});

    // Saves the replay the game recorded during the run into `path`. A stage still running is
    // closed at its last frame first, with the scores of runScores (app/ReplayCheck.h). False
    // when nothing was recorded or the file could not be written.
    bool saveReplay(const std::string& path);

    HeadlessHost& host() { return *host_; }
    PlayStats& stats() { return *stats_; }
    bool traceOpen() const { return options_.traceFile.empty() || trace_.is_open(); }
    // The bot of player `index` (null without autoplay).
    const Bot* bot(int index) const { return bots_[index & 1].get(); }

  private:
    // The buttons the bot (or, before the game, the menu driver) holds for the next frame.
    void feedAutoplay();
    // Closes the recorded stage still running at the current frame, with runScores.
    void closeOpenStage();
    // A directly started stage is over (handed over or cut): on to the next one, or false.
    bool nextStage();
    // Whether the full game the bot plays has ended (neither a stage nor the ending shown).
    bool gameOver() const;

    HeadlessOptions options_;
    std::unique_ptr<HeadlessHost> host_;
    std::unique_ptr<PlayStats> stats_;
    std::ofstream trace_;
    std::array<std::unique_ptr<Bot>, 2> bots_;
    std::unique_ptr<MenuDriver> menus_;
    size_t nextStageIndex_ = 0;
    bool gameStarted_ = false;
};

}  // namespace vg
