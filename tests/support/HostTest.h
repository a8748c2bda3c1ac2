#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "app/HeadlessHost.h"
#include "core/System.h"

namespace vg::testing {

// The game driven through a headless host, each test in a fresh working folder of its own,
// <build>/<area>_work/<suite>.<test> (the game reads "data.pck" and reads and writes its files
// relative to the working folder). The host ends before the test leaves the folder.
class HostTest : public ::testing::Test {
  protected:
    explicit HostTest(std::string area) : area_(std::move(area)) {}

    void SetUp() override {
        namespace fs = std::filesystem;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(VG_BINARY_DIR) / (area_ + "_work") /
                  (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
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

    // A new host; the old one goes first (two task systems cannot share the one task arena).
    HeadlessHost& newHost(KeyScript keys, bool withFirstTask, std::string saveFile) {
        host.reset();
        host = std::make_unique<HeadlessHost>(std::move(keys), withFirstTask, std::move(saveFile));
        return *host;
    }
    System& system() { return host->system(); }
    const std::filesystem::path& folder() const { return folder_; }

    std::unique_ptr<HeadlessHost> host;
    std::filesystem::path folder_;

  private:
    std::string area_;
    std::filesystem::path previous_;
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

// The live tasks of type T in the list.
template <class T>
int countTasks(System& system) {
    int count = 0;
    for (Task* t = system.head()->next; t != system.tail(); t = t->next) {
        if (t->isLive() && dynamic_cast<T*>(t)) ++count;
    }
    return count;
}

}  // namespace vg::testing
