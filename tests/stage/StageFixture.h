#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/HostTest.h"

namespace vg::testing {

// Each test in a fresh working folder of its own; with `linkData` the built data.pck is linked
// in (when there is one), otherwise the folder is empty: no pictures, tunes or scripts.
class StageTest : public HostTest {
  protected:
    StageTest() : HostTest("stage") {}

    // Writes a loose script into the folder and returns its path.
    std::string writeScript(const std::string& name, const std::string& text) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // A host with an empty task list.
    HeadlessHost& makeHost() { return newHost(KeyScript{}, false, ""); }
};

}  // namespace vg::testing
