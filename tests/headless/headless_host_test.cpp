#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/HeadlessHost.h"
#include "core/FixedMath.h"
#include "core/GameRandom.h"
#include "core/System.h"
#include "input/KeyboardState.h"

namespace vg {
namespace {

// A drifting dot whose course and colour come from the shared generator, drawn by hand so the
// test depends on nothing but the task system, the maths and the generator.
struct Spark : Task {
    Spark() {
        angle = static_cast<int32_t>(gameRandom().randomNext() % 360) << 16;
        colour = gameRandom().randomNext() | 0x404040u;
    }
    void update() override {
        x += cosFixed(angle);
        y += sinFixed(angle);
        // Wrap around the 512 x 384 screen.
        x = ((x % (512 << 16)) + (512 << 16)) % (512 << 16);
        y = ((y % (384 << 16)) + (384 << 16)) % (384 << 16);
        if (gameRandom().randomNext() % 64 == 0) angle += 90 << 16;
    }
    void draw(DIB& surface) override {
        *surface.pixelAt(x >> 16, y >> 16) = colour;
        // Some drawing takes random numbers too; the host must never skip it.
        if (gameRandom().randomNext() % 8 == 0) colour ^= 0x00FF00u;
    }
    int32_t x = 256 << 16;
    int32_t y = 192 << 16;
    int32_t angle;
    uint32_t colour;
};

// Clears the screen each frame, like the lowest task of every screen does.
struct Clear : Task {
    void draw(DIB& surface) override {
        std::memset(surface.pixels, 0, static_cast<size_t>(surface.width) * surface.height * 4);
    }
};

// Spawns a spark whenever Z is pressed: input reaches tasks through the frame step.
struct ZSpawner : Task {
    void update() override {
        System* system = systemOf(*this);
        if (keyPressed(system->keyboard, 'Z')) system->spawnBack<Spark>(5);
    }
};

std::vector<uint32_t> runScene(uint32_t frames, int sparks, const char* keys) {
    KeyScript script;
    EXPECT_TRUE(script.parse(keys));
    HeadlessHost host(script, false);
    gameRandom().randomSeed(4357);
    host.system().spawnBack<Clear>(0);
    host.system().spawnBack<ZSpawner>(1);
    for (int i = 0; i < sparks; ++i) host.system().spawnBack<Spark>(2 + i % 30);
    EXPECT_EQ(host.run(frames), frames);
    EXPECT_EQ(host.system().frameCounter, frames);
    const DIB& screen = host.screen();
    return {screen.pixels, screen.pixels + screen.width * screen.height};
}

TEST(HeadlessHostTest, EmptyTaskListRunsTenThousandFrames) {
    HeadlessHost host({}, false);
    EXPECT_EQ(host.run(10000), 10000u);
    EXPECT_EQ(host.system().taskCount, 0);
    EXPECT_EQ(host.screen().width, 512);
}

TEST(HeadlessHostTest, SameInputGivesIdenticalScreens) {
    const char* keys = "100 Z\n200-205 Z\n3000 Z\n";
    const auto first = runScene(10000, 1000, keys);
    const auto second = runScene(10000, 1000, keys);
    EXPECT_TRUE(first == second);
    // Different input must be able to change the picture, or the comparison proves nothing.
    const auto other = runScene(10000, 1000, "101 Z\n");
    EXPECT_FALSE(first == other);
}

TEST(HeadlessHostTest, StopsWhenTheGameAsksToQuit) {
    struct Quitter : Task {
        void update() override {
            if (++frames == 5) systemOf(*this)->quitRequested = 1;
        }
        int frames = 0;
    };
    HeadlessHost host({}, false);
    host.system().spawnBack<Quitter>(0);
    EXPECT_EQ(host.run(100), 5u);
}

}  // namespace
}  // namespace vg
