#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/HeadlessHost.h"
#include "core/System.h"

namespace vg::testing {

// Each test in a fresh working folder of its own; with `linkData` the built data.pck is linked
// in (when there is one), otherwise the folder is empty: no pictures, tunes or scripts.
class StageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(VG_BINARY_DIR) / "stage_work" /
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
    // Writes a loose script into the folder and returns its path.
    std::string writeScript(const std::string& name, const std::string& text) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // A host with an empty task list.
    HeadlessHost& makeHost() {
        host.reset();  // one System at a time: they share the task arena
        host = std::make_unique<HeadlessHost>(KeyScript{}, false, "");
        return *host;
    }
    System& system() { return host->system(); }

    std::unique_ptr<HeadlessHost> host;
    std::filesystem::path folder_;

  private:
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

template <class T>
int countTasks(System& system) {
    int count = 0;
    for (Task* t = system.head()->next; t != system.tail(); t = t->next) {
        if (t->isLive() && dynamic_cast<T*>(t)) ++count;
    }
    return count;
}

}  // namespace vg::testing
