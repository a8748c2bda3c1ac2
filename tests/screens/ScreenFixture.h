#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/HostTest.h"

namespace vg::testing {

// Runs each test in a fresh working folder of its own (the game reads "data.pck" and reads and
// writes "save" in the working folder), with the built data.pck linked in when there is one.
class ScreenTest : public HostTest {
  protected:
    ScreenTest() : HostTest("screens") {}
    void SetUp() override {
        HostTest::SetUp();
        hasData_ = linkData();
    }

    // Starts the game as the real program does, with keys from `script`.
    HeadlessHost& start(const std::string& script) {
        KeyScript keys;
        std::string error;
        EXPECT_TRUE(keys.parse(script, &error)) << error;
        return newHost(std::move(keys), true, "save");
    }
    // Runs until frame `frame` has run (frames count from 0).
    void runTo(uint32_t frame) { host->run(frame + 1 - host->framesRun()); }

    bool hasData() const { return hasData_; }

  private:
    bool hasData_ = false;
};

// Frames of a start whose logo is skipped by Z on frame 5: the title's menu acts from frame 42.
constexpr uint32_t kSkipFrame = 5;
constexpr uint32_t kTitleActs = 42;

}  // namespace vg::testing
