#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/HeadlessHost.h"
#include "core/System.h"

namespace vg::testing {

// Runs each test in a fresh working folder of its own (the game reads "data.pck" and reads and
// writes "save" in the working folder), with the built data.pck linked in when there is one.
class ScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(VG_BINARY_DIR) / "screens_work" /
                  (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const fs::path package = fs::path(VG_GAME_DIR) / "data.pck";
        hasData_ = fs::exists(package);
        if (hasData_) fs::create_symlink(package, folder_ / "data.pck");
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        host.reset();
        std::filesystem::current_path(previous_);
    }

    // Starts the game as the real program does, with keys from `script`.
    HeadlessHost& start(const std::string& script) {
        KeyScript keys;
        std::string error;
        EXPECT_TRUE(keys.parse(script, &error)) << error;
        host = std::make_unique<HeadlessHost>(std::move(keys), true);
        return *host;
    }
    System& system() { return host->system(); }
    // Runs until frame `frame` has run (frames count from 0).
    void runTo(uint32_t frame) { host->run(frame + 1 - host->framesRun()); }

    bool hasData() const { return hasData_; }
    const std::filesystem::path& folder() const { return folder_; }

    std::unique_ptr<HeadlessHost> host;

  private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
    bool hasData_ = false;
};

// The first live task of type T in the list, or null.
template <class T>
T* findTask(System& system) {
    for (Task* t = system.head()->next; t != system.tail(); t = t->next) {
        if (!t->isLive()) continue;
        if (auto* found = dynamic_cast<T*>(t)) return found;
    }
    return nullptr;
}

// Frames of a start whose logo is skipped by Z on frame 5: the title's menu acts from frame 42.
constexpr uint32_t kSkipFrame = 5;
constexpr uint32_t kTitleActs = 42;

}  // namespace vg::testing
