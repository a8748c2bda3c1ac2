#include <gtest/gtest.h>

#include "app/KeyScript.h"

namespace vg {
namespace {

TEST(KeyScriptTest, RangesHoldTheirKeysAndOverlapsAddUp) {
    KeyScript script;
    ASSERT_TRUE(script.parse("# demo\n0-2 RIGHT z\n2 0x1b  # pause\n\n5 65\n"));
    EXPECT_EQ(script.length(), 6u);
    const KeySnapshot first = script.frame(0);
    EXPECT_EQ(first[0x27], 0x80);
    EXPECT_EQ(first['Z'], 0x80);
    EXPECT_EQ(first[0x1B], 0);
    const KeySnapshot third = script.frame(2);
    EXPECT_EQ(third[0x27], 0x80);
    EXPECT_EQ(third[0x1B], 0x80);
    EXPECT_EQ(script.frame(3), KeySnapshot{});
    EXPECT_EQ(script.frame(5)['A'], 0x80);
}

TEST(KeyScriptTest, BadLinesFailWithTheirNumberAndLeaveTheScriptEmpty) {
    KeyScript script;
    ASSERT_TRUE(script.parse("0 Z"));
    std::string error;
    EXPECT_FALSE(script.parse("0 Z\n3-1 X\n", &error));
    EXPECT_EQ(error.rfind("line 2", 0), 0u) << error;
    EXPECT_EQ(script.length(), 0u);
    EXPECT_FALSE(script.parse("0 NOSUCHKEY", &error));
    EXPECT_FALSE(script.parse("0 256", &error));
    EXPECT_FALSE(script.parse("x Z", &error));
    EXPECT_FALSE(script.parse("0-999999999 Z", &error));
}

TEST(KeyScriptTest, KeyboardServesOneFramePerSnapshot) {
    KeyScript script;
    ASSERT_TRUE(script.parse("1 SPACE"));
    KeyScriptKeyboard keyboard(script);
    KeySnapshot keys;
    keyboard.snapshot(keys);
    EXPECT_EQ(keys[0x20], 0);
    keyboard.snapshot(keys);
    EXPECT_EQ(keys[0x20], 0x80);
    keyboard.snapshot(keys);
    EXPECT_EQ(keys[0x20], 0);
}

}  // namespace
}  // namespace vg
