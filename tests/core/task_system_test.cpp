#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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
    EXPECT_EQ(arena.cursor(), 48u);
    arena.arenaFree(one);
    EXPECT_EQ(arena.bytesInUse(), 32u);
}

TEST(TaskArenaTest, FragmentedSpaceIsMergedOnlyWhenNeeded) {
    // 8 blocks of 64 bytes fill a 512-byte arena exactly.
    TaskArena arena(512);
    std::vector<void*> blocks;
    for (int i = 0; i < 8; ++i) blocks.push_back(arena.arenaAlloc(56));
    for (void* b : blocks) ASSERT_NE(b, nullptr);
    EXPECT_EQ(arena.arenaAlloc(1), nullptr);

    // Free every other block: 256 bytes free, but no single run above 64 bytes.
    for (int i = 0; i < 8; i += 2) arena.arenaFree(blocks[i]);
    EXPECT_EQ(arena.bytesInUse(), 256u);
    EXPECT_EQ(arena.arenaAlloc(100), nullptr);

    // Free a neighbour: blocks 0..2 form one 192-byte run after compaction.
    arena.arenaFree(blocks[1]);
    void* merged = arena.arenaAlloc(150);
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged, blocks[0]);
    EXPECT_EQ(arena.blockSizeOf(merged), 160u);
    // The rest of the merged run (32 bytes) stays free and usable.
    EXPECT_NE(arena.arenaAlloc(1), nullptr);
}

TEST(TaskArenaTest, ExhaustionReturnsNullAndCreatorsSkipTheTask) {
    System system;
    struct Big : Task {
        char payload[4096];
    };
    int created = 0;
    while (system.spawnBack<Big>(3)) ++created;
    EXPECT_GT(created, 100);
    EXPECT_EQ(system.taskCount, created);
    EXPECT_EQ(system.spawnBack<Big>(3), nullptr);
    system.endAll();
    system.updatePass();
    EXPECT_EQ(system.taskCount, 0);
    EXPECT_NE(system.spawnBack<Big>(3), nullptr);
}

TEST(TaskArenaTest, TwoManagersAliveAtOnceShareTheArenaSafely) {
    auto first = std::make_unique<System>();
    std::string log;
    struct Counter : Task {
        explicit Counter(int* n) : n(n) {}
        void update() override { ++*n; }
        int* n;
    };
    int updates = 0;
    ASSERT_NE(first->spawnBack<Counter>(1, &updates), nullptr);
    {
        // A second manager while the first holds tasks must neither free nor replace them.
        System second;
        ASSERT_NE(second.spawnBack<Counter>(1, &updates), nullptr);
        first->updatePass();
        second.updatePass();
    }
    first->updatePass();
    EXPECT_EQ(updates, 3);
    first.reset();
    // With no manager left the accessor still serves allocations.
    void* block = taskArena().arenaAlloc(32);
    EXPECT_NE(block, nullptr);
    taskArena().arenaFree(block);
}

// A task that logs its updates and draws under a name.
struct Probe : Task {
    Probe(std::string* log, std::string name) : log(log), name(std::move(name)) {}
    void update() override { *log += "u" + name + " "; }
    void draw(DIB&) override { *log += "d" + name + " "; }
    std::string* log;
    std::string name;
};

class TaskListTest : public ::testing::Test {
  protected:
    Probe* front(int layer, const char* name) {
        return system.spawnFront<Probe>(layer, &log, name);
    }
    Probe* back(int layer, const char* name) { return system.spawnBack<Probe>(layer, &log, name); }
    std::string frame() {
        log.clear();
        system.updatePass();
        system.drawAll(screen);
        return log;
    }
    System system;
    DIB screen;
    std::string log;
};

TEST_F(TaskListTest, LayersOrderUpdatesAndDrawsFrontAndBackWithinALayer) {
    back(5, "b1");
    back(2, "a");
    front(5, "f1");
    back(5, "b2");
    front(5, "f2");
    back(0, "z");
    EXPECT_EQ(frame(), "uz ua uf2 uf1 ub1 ub2 dz da df2 df1 db1 db2 ");
    EXPECT_EQ(static_cast<Probe*>(system.layerFirst[5])->name, "f2");
    EXPECT_EQ(system.taskCount, 6);
}

TEST_F(TaskListTest, PartsInsertedAfterTheirBodyKeepTheOrderOfAllFrontInsertions) {
    // A body made first, its parts then inserted right after it one by one, gives the list that
    // inserting the parts at the front and the body last would give.
    back(7, "older");
    Probe* body = front(7, "body");
    for (const char* part : {"p0", "p1", "p2"}) system.spawnAfter<Probe>(body, &log, part);
    back(8, "next");
    EXPECT_EQ(frame(), "ubody up2 up1 up0 uolder unext dbody dp2 dp1 dp0 dolder dnext ");
    EXPECT_EQ(system.layerFirst[7], body);
    EXPECT_EQ(system.taskCount, 6);
    EXPECT_EQ(system.spawnAfter<Probe>(nullptr, &log, "lost"), nullptr);
    EXPECT_EQ(system.taskCount, 6);
}

TEST_F(TaskListTest, InsertRejectsLayersOutsideTheTable) {
    Probe* task = new (std::nothrow) Probe(&log, "x");
    EXPECT_EQ(system.insertFront(task, 64), nullptr);
    EXPECT_EQ(system.insertFront(task, -1), nullptr);
    EXPECT_EQ(system.insertBack(task, 64), nullptr);
    EXPECT_EQ(system.insertFront(nullptr, 3), nullptr);
    EXPECT_EQ(system.taskCount, 0);
    task->destroySelf();
    EXPECT_EQ(system.spawnFront<Probe>(64, &log, "y"), nullptr);
}

TEST_F(TaskListTest, RemovingTheFirstOfALayerMovesTheLayerHeadOnOrClearsIt) {
    Probe* a = back(4, "a");
    Probe* b = back(4, "b");
    Probe* c = back(6, "c");
    a->end();
    frame();
    EXPECT_EQ(system.layerFirst[4], b);
    b->end();
    frame();
    EXPECT_EQ(system.layerFirst[4], nullptr);
    EXPECT_EQ(system.layerFirst[6], c);
    EXPECT_EQ(system.taskCount, 1);
    // A new task in the emptied layer still lands in order.
    back(4, "d");
    EXPECT_EQ(frame(), "ud uc dd dc ");
}

struct Ender : Task {
    Ender(Task** victim, bool self) : victim(victim), self(self) {}
    void update() override {
        if (self) end();
        if (*victim) (*victim)->end();
    }
    Task** victim;
    bool self;
};

TEST_F(TaskListTest, EndedByAnEarlierTaskGoesThisPassSelfEndedTheNext) {
    Task* victim = nullptr;
    Ender* ender = system.spawnBack<Ender>(1, &victim, false);
    victim = back(2, "v");
    Ender* selfEnder = system.spawnBack<Ender>(3, &victim, true);
    Task* none = nullptr;
    selfEnder->victim = &none;
    EXPECT_EQ(system.taskCount, 3);
    system.updatePass();
    // The victim was ended by the task before it: removed in the same pass. The self-ender is
    // still in the list until the next pass.
    EXPECT_EQ(system.taskCount, 2);
    EXPECT_EQ(system.layerFirst[2], nullptr);
    ender->victim = &none;
    system.updatePass();
    EXPECT_EQ(system.taskCount, 1);
    EXPECT_EQ(system.layerFirst[3], nullptr);
}

struct Spawner : Task {
    explicit Spawner(std::string* log) : log(log) {}
    void update() override {
        if (!spawned) static_cast<TaskManager*>(owner)->spawnBack<Probe>(layer, log, "child");
        spawned = true;
    }
    std::string* log;
    bool spawned = false;
};

TEST_F(TaskListTest, ATaskInsertedBehindTheCurrentOneRunsInTheSamePass) {
    system.spawnBack<Spawner>(7, &log);
    log.clear();
    system.updatePass();
    EXPECT_EQ(log, "uchild ");
}

TEST_F(TaskListTest, FrozenTasksDrawButDoNotUpdateUntilResumed) {
    back(1, "a");
    Probe* b = back(2, "b");
    b->state = kTaskUpdateOnly;
    system.freezeAll();
    EXPECT_EQ(frame(), "da db ");
    system.resumeAll();
    EXPECT_EQ(frame(), "ua ub da db ");
    system.freezeLayer(2);
    EXPECT_EQ(frame(), "ua da db ");
}

TEST_F(TaskListTest, BulkEndsLeaveWhatTheyShould) {
    back(0, "l0");
    back(5, "l5");
    back(20, "l20");
    back(40, "l40");
    system.endLayersUpTo(5);
    EXPECT_EQ(frame(), "ul20 ul40 dl20 dl40 ");
    system.endLayer20();
    EXPECT_EQ(frame(), "ul40 dl40 ");
    system.endAll();
    EXPECT_EQ(frame(), "");
    EXPECT_EQ(system.taskCount, 0);
    // The sentinels survive every bulk operation.
    EXPECT_EQ(system.head()->next, system.tail());
    EXPECT_EQ(system.head()->state, kTaskSentinel);
}

TEST_F(TaskListTest, DrawRangeDrawsOnlyItsLayers) {
    back(0, "a");
    back(3, "b");
    back(29, "c");
    back(30, "d");
    back(31, "e");
    log.clear();
    system.drawRange(screen, 3, 30);
    EXPECT_EQ(log, "db dc dd ");
    log.clear();
    system.drawRange(screen, 0, 0);
    EXPECT_EQ(log, "da ");
}

struct Painter : Task {
    explicit Painter(uint32_t colour) : colour(colour) {}
    void draw(DIB& surface) override {
        for (int i = 0; i < surface.width * surface.height; ++i) surface.pixels[i] = colour;
    }
    uint32_t colour;
};

TEST(SystemDrawTest, FieldViewDrawsTheFieldIntoTheMiddleAndScreenLayersOnTop) {
    System system;
    DIB screen;
    ASSERT_TRUE(screen.create(512, 384));
    system.spawnBack<Painter>(0, 0x112233u);
    system.fieldView = 1;
    system.draw(screen);
    // The field covers x 136..375; the rest of the screen is left alone.
    EXPECT_EQ(*screen.pixelAt(135, 0), 0u);
    EXPECT_EQ(*screen.pixelAt(136, 0), 0x112233u);
    EXPECT_EQ(*screen.pixelAt(375, 383), 0x112233u);
    EXPECT_EQ(*screen.pixelAt(376, 383), 0u);
    // A layer-30 task draws on the whole screen after the field.
    system.spawnBack<Painter>(30, 0x445566u);
    system.draw(screen);
    EXPECT_EQ(*screen.pixelAt(0, 0), 0x445566u);
    EXPECT_EQ(*screen.pixelAt(200, 100), 0x445566u);
    // Without fieldView every task draws straight onto the screen, in layer order.
    system.fieldView = 0;
    system.spawnBack<Painter>(2, 0x778899u);
    system.draw(screen);
    EXPECT_EQ(*screen.pixelAt(0, 0), 0x445566u);
}

}  // namespace
}  // namespace vg
