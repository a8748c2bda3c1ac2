#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ReplayTestFiles.h"
#include "app/HeadlessHost.h"
#include "core/System.h"
#include "input/KeyRecord.h"

namespace vg::testing {

// Each test in a fresh working folder with an empty "replay/" (the replay screens read and write
// "./replay//replay%02d.rpl" relative to it), optionally with the built data.pck linked in.
class ReplayScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(VG_BINARY_DIR) / "replay_work" /
                  (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "replay");
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        host.reset();
        std::filesystem::current_path(previous_);
    }

    // Links the built data.pck into the folder; false when it was not built.
    bool linkData() {
        namespace fs = std::filesystem;
        const fs::path package = fs::path(VG_GAME_DIR) / "data.pck";
        if (!fs::exists(package)) return false;
        fs::create_symlink(package, folder_ / "data.pck");
        return true;
    }

    // The game as the real program starts it (logo, title), or an empty task list.
    HeadlessHost& makeHost(bool withFirstTask) {
        host.reset();  // one System at a time: they share the task arena
        host = std::make_unique<HeadlessHost>(KeyScript{}, withFirstTask, "");
        return *host;
    }
    System& system() { return host->system(); }

    // Presses `key` for one frame and lets it go for one, so the next press is a new one.
    void press(const char* key) {
        host->tap(key);
        host->run(1);
    }
    bool runUntil(const std::function<bool()>& done, uint32_t limit) {
        return host->runUntil(done, limit);
    }

    std::unique_ptr<HeadlessHost> host;
    std::filesystem::path folder_;

  private:
    std::filesystem::path previous_;
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

// The first live task of type T in the list, or null.
template <class T>
T* findTask(System& system) {
    for (Task* t = system.head()->next; t != system.tail(); t = t->next) {
        if (!t->isLive()) continue;
        if (auto* found = dynamic_cast<T*>(t)) return found;
    }
    return nullptr;
}

}  // namespace vg::testing
