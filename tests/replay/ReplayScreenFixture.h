#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ReplayTestFiles.h"
#include "input/KeyRecord.h"
#include "tests/support/HostTest.h"

namespace vg::testing {

// Each test in a fresh working folder with an empty "replay/" (the replay screens read and write
// "./replay//replay%02d.rpl" relative to it), optionally with the built data.pck linked in.
class ReplayScreenTest : public HostTest {
  protected:
    ReplayScreenTest() : HostTest("replay") {}
    void SetUp() override {
        HostTest::SetUp();
        std::filesystem::create_directories(folder_ / "replay");
    }

    // The game as the real program starts it (logo, title), or an empty task list.
    HeadlessHost& makeHost(bool withFirstTask) { return newHost(KeyScript{}, withFirstTask, ""); }

    // Presses `key` for one frame and lets it go for one, so the next press is a new one.
    void press(const char* key) {
        host->tap(key);
        host->run(1);
    }
    bool runUntil(const std::function<bool()>& done, uint32_t limit) {
        return host->runUntil(done, limit);
    }
};

// A replay of `stages` (frames of each; stage index = position, 0 frames: not recorded), for one
// TYPE-A player who holds Shot, saved to `path`.
inline bool writeReplay(const std::string& path, const std::vector<int32_t>& stageFrames,
                        uint8_t difficulty, const char* name, int32_t score,
                        const ReplayStamp& stamp = ReplayStamp{26, 1, 2, 3, 4}) {
    ReplayData replay;
    replay.Reset();
    replay.recording = 1;
    for (size_t stage = 0; stage < stageFrames.size(); ++stage) {
        if (stageFrames[stage] <= 0) continue;
        replay.BeginStage(difficulty, static_cast<uint8_t>(stage), newPlayer(0), PlayerRecord{});
        for (int32_t f = 0; f < stageFrames[stage]; ++f) {
            uint8_t shot = kButtonShot;
            uint8_t none = 0;
            replay.Step(shot, none);
        }
        if (!replay.EndStage(score, 0, static_cast<uint8_t>(stage))) return false;
    }
    std::strncpy(replay.index().name, name, sizeof replay.index().name - 1);
    return replay.Save(path.c_str(), stamp);
}

}  // namespace vg::testing
