// The event runner: one-shot and standing events, the clock events and their same-walk rule,
// the map events and the spawn table.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "panels/Result.h"
#include "stage/Back.h"
#include "stage/Ending.h"
#include "stage/Scenery.h"
#include "stage/StageBanners.h"
#include "stage/StageControl.h"
#include "stage/StageScript.h"

namespace vg {
namespace {

// Stands on a layer and does nothing: an "enemy" for the presence tests.
struct Marker : Task {};

class EventRunnerTest : public ::testing::Test {
  protected:
    StageControl& load(const std::string& script) {
        control = system.spawnBack<StageControl>(layer::kStageControl);
        parseStageScript(script.data(), script.size(), control->events);
        return *control;
    }
    // Runs the runner alone for `frames` frames.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) control->update();
    }
    int clouds() { return countInLayer<Cloud>(system, layer::kCloud); }
    int holes() { return countInLayer<Hole>(system, layer::kHole); }

    System system;
    StageControl* control = nullptr;
};

// A cloud and a hole line at time t (the cloud is standing, the hole one-shot).
std::string cloud(int t) {
    return std::to_string(t) + ",CLOUD,100,100,90,0,0\n";
}
std::string hole(int t) {
    return std::to_string(t) + ",HOLE,100,100,4\n";
}

TEST_F(EventRunnerTest, TimeZeroFiresOnTheFirstUpdateNegativeNever) {
    load(cloud(0) + "-1,HOLE,1,1,1\n");
    step();
    EXPECT_EQ(clouds(), 1);
    EXPECT_EQ(control->eventClock, 1);
    step(200);
    EXPECT_EQ(clouds(), 1);
    EXPECT_EQ(holes(), 0);
    // Standing and never-reached events stay.
    EXPECT_EQ(control->events.size(), 2u);
}

TEST_F(EventRunnerTest, OneShotsOfOneTimeFireTogetherInScriptOrderAndLeave) {
    load("5,BACK_OBJECT_MIDDLE,1,0,8,8,0,0\n5,BACK_OBJECT_MIDDLE,2,0,8,8,0,0\n" + cloud(9));
    step(5);
    EXPECT_EQ(countInLayer<BackObject>(system, layer::kBackObjectMiddle), 0);
    step();
    std::vector<int32_t> xs;
    forEachInLayer<BackObject>(system, layer::kBackObjectMiddle,
                               [&](BackObject& o) { xs.push_back(o.x >> 16); });
    EXPECT_EQ(xs, (std::vector<int32_t>{1, 2}));  // added at the back, in order
    ASSERT_EQ(control->events.size(), 1u);
    EXPECT_EQ(control->events[0].kind, kEventCloud);
}

// Clock behaviour over a run: the clock after each of the first updates and the clouds made.
struct ClockCase {
    const char* name;
    std::string script;
    int updates;
    int32_t clockAfter;
    int cloudsAfter;
    int holesAfter;
};

TEST_F(EventRunnerTest, ClockEventsTable) {
    const std::vector<ClockCase> cases = {
        {"SET_TIME to its own time has no lasting effect", "10,SET_TIME,10\n" + cloud(11), 12, 12,
         1, 0},
        {"SET_TIME to T-1 holds the clock at T; an earlier line of T fires every frame",
         cloud(10) + "10,SET_TIME,9\n", 15, 10, 5, 0},
        {"a later line of T-1 fires in the same walk after the jump", "10,SET_TIME,9\n" + cloud(9),
         15, 10, 6, 0},
        // Clocks 0..5, then 1..5 again and again: the cloud at 2 fires on updates 3, 8, 13.
        {"a loop repeats clouds, enemies spawn once", cloud(2) + hole(3) + "5,SET_TIME,0\n", 16, 1,
         3, 1},
        {"jump back fires an earlier-time line placed after it", "100,SET_TIME,50\n" + cloud(50),
         101, 51, 2, 0},
        {"times the loop skips never fire", "5,SET_TIME,1\n" + cloud(7), 100, 4, 0, 0},
    };
    for (const ClockCase& c : cases) {
        System fresh;
        StageControl* runner = fresh.spawnBack<StageControl>(layer::kStageControl);
        parseStageScript(c.script.data(), c.script.size(), runner->events);
        for (int i = 0; i < c.updates; ++i) runner->update();
        EXPECT_EQ(runner->eventClock, c.clockAfter) << c.name;
        EXPECT_EQ(countInLayer<Cloud>(fresh, layer::kCloud), c.cloudsAfter) << c.name;
        EXPECT_EQ(countInLayer<Hole>(fresh, layer::kHole), c.holesAfter) << c.name;
    }
}

TEST_F(EventRunnerTest, HoldAtABossWhileAnEnemyLayerHoldsALiveTask) {
    load("10,SET_TIME_IF_ON_ENEMY,9\n" + hole(11));
    Marker* boss = system.spawnFront<Marker>(layer::kAir);
    step(30);
    EXPECT_EQ(control->eventClock, 10);
    EXPECT_EQ(holes(), 0);
    // An ended task is gone for every rule, even while it is still linked.
    boss->end();
    step();
    EXPECT_EQ(control->eventClock, 11);
    step();
    EXPECT_EQ(holes(), 1);
}

TEST_F(EventRunnerTest, NoneEnemyCountsAnyTaskOnTheEnemyLayers) {
    load("3,SET_TIME_IF_NONE_ENEMY,100\n");
    Marker* ground = system.spawnFront<Marker>(layer::kGroundMiddle);
    step(4);
    EXPECT_EQ(control->eventClock, 4) << "a task on layer 7 counts as an enemy";
    ground->end();
    control->eventClock = 3;
    step();
    EXPECT_EQ(control->eventClock, 101);
}

TEST_F(EventRunnerTest, LoopingClocksNeverHangAndTheClockNeverOverflows) {
    std::string script;
    for (int i = 0; i < 2000; ++i) script += "0,SET_TIME,0\n1,SET_TIME,-5\n";
    script += "0,SET_TIME_IF_NONE_ENEMY,0\n";
    load(script);
    const auto start = std::chrono::steady_clock::now();
    step(500);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
    // The clock cycles -5 .. 1 for ever.
    EXPECT_GE(control->eventClock, -4);
    EXPECT_LE(control->eventClock, 1);
    control->events.clear();
    control->eventClock = INT32_MAX;
    step(3);
    EXPECT_EQ(control->eventClock, INT32_MAX);
}

TEST_F(EventRunnerTest, MapEventsSetTheBackAndNeedOne) {
    load(
        "0,MAP_SCROLL_SPEED,1.5\n0,MAP_POS_Y,7000\n0,MAP_LOOP_BACK_POINT_Y,900.25\n"
        "0,MAP_LOOP_POINT_Y,-3\n1,MAP_POS_Y,50\n");
    Back* back = system.spawnFront<Back>(layer::kBack, uint8_t{0});
    step();
    EXPECT_EQ(back->scrollSpeed, 98304);
    EXPECT_EQ(back->mapPosition, 7000 << 16);
    EXPECT_EQ(back->loopBackPoint, 900 * 65536 + 16384);
    EXPECT_EQ(back->loopPoint, -3 * 65536);
    // Without a Back the event is consumed and does nothing.
    back->end();
    step();
    EXPECT_TRUE(control->events.empty());
    EXPECT_EQ(back->mapPosition, 7000 << 16);
}

TEST_F(EventRunnerTest, SpawnTableLayersAndOrder) {
    load(
        "0,CLOUD,1,2,0,1,4\n0,CLOUD_EX,3,4,90,2,1\n0,HOLE_MOVE,5,6,1.5,7\n0,WARNING,0\n"
        "0,WARNING,0\n0,RESULT,0\n0,STAGE_COMPLETE\n0,ENDING_IMAGE,1,2,3,4,5,6,100\n"
        "0,ENDING_FONT,120,0,64\n0,BACK_OBJECT_HIGH,10,20,30,40,50,60\n");
    Warning* earlier = system.spawnFront<Warning>(layer::kBanner);
    step();
    const Cloud* first = findFirstInLayer<Cloud>(system, layer::kCloud);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->kind, 4);
    EXPECT_GT(first->vx, 65500);  // direction 0 at speed 1
    EXPECT_EQ(first->vy, 0);
    EXPECT_EQ(dynamic_cast<const CloudEx*>(first), nullptr) << "CLOUD first: added at the back";
    EXPECT_EQ(countInLayer<CloudEx>(system, layer::kCloud), 1);
    const Hole* moving = findFirstInLayer<Hole>(system, layer::kHole);
    ASSERT_NE(moving, nullptr);
    EXPECT_EQ(moving->followsMap, 0);
    EXPECT_EQ(moving->speed, 98304);
    EXPECT_EQ(moving->fillTarget, 7);
    EXPECT_EQ(countInLayer<Warning>(system, layer::kBanner), 3);
    EXPECT_NE(system.firstOfLayer(layer::kBanner), earlier) << "warnings go to the front";
    EXPECT_EQ(countInLayer<Result>(system, layer::kFrame), 1);
    EXPECT_EQ(countInLayer<StageComplete>(system, layer::kBanner), 1);
    const EndingImage* image = findFirstInLayer<EndingImage>(system, layer::kEndingImage);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->duration, 100);
    EXPECT_EQ(image->sourceY, 6);
    const EndingFont* font = findFirstInLayer<EndingFont>(system, layer::kEndingFont);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->x, 120);
    EXPECT_EQ(font->sourceY, 64);
    const BackObject* object = findFirstInLayer<BackObject>(system, layer::kBackObjectHigh);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->height, 40);
    EXPECT_EQ(object->sourceY, 60);
    // Everything but the two clouds was one-shot.
    EXPECT_EQ(control->events.size(), 2u);
}

TEST_F(EventRunnerTest, EnemyCodesAreOneShotUnknownCodesStand) {
    load("4,ENEMY_BOSS_1,120,-40,2\n");
    StageEvent unknown;
    unknown.time = 4;
    unknown.kind = 50;
    control->events.push_back(unknown);
    step(5);
    ASSERT_EQ(control->events.size(), 1u);
    EXPECT_EQ(control->events[0].kind, 50);
    EXPECT_TRUE(StageControl::isStanding(50));
    EXPECT_TRUE(StageControl::isStanding(200));
    EXPECT_FALSE(StageControl::isStanding(kEventFirstEnemy));
    EXPECT_FALSE(StageControl::isStanding(kEventLastEnemy));
    EXPECT_FALSE(StageControl::isStanding(kEventMapPosY));
    EXPECT_TRUE(StageControl::isStanding(kEventCloudEx));
}

TEST_F(EventRunnerTest, EndingFinishFindsTheRunner) {
    load("0,ENDING_FINISH\n2,ENDING_FINISH\n");
    step();
    EXPECT_TRUE(control->events.size() == 1u) << "consumed without a runner";
    EndingRunner* runner = system.spawnFront<EndingRunner>(layer::kFrame);
    step(2);
    EXPECT_EQ(runner->finished, 1);
    EXPECT_TRUE(control->events.empty());
}

}  // namespace
}  // namespace vg
