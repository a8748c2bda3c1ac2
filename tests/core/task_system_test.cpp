#include <gtest/gtest.h>

#include "core/System.h"
#include "core/TaskArena.h"

namespace vg {
namespace {

TEST(TaskArenaTest, RoundsBlocksUpToSixteenBytesWithHeader) {
    TaskArena arena(0x1000);
    void* one = arena.arenaAlloc(1);
    void* nine = arena.arenaAlloc(9);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(nine, nullptr);
    EXPECT_EQ(arena.blockSizeOf(one), 16u);
    EXPECT_EQ(arena.blockSizeOf(nine), 32u);
    EXPECT_EQ(arena.bytesInUse(), 48u);
}

}  // namespace
}  // namespace vg
