// The kind table: every enemy keyword parsed from a script line and spawned, each value arriving
// as its kind reads it; the rows themselves; and what the script check says of unbuilt kinds.
#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>

#include "EnemyScene.h"
#include "enemy/EnemyKinds.h"
#include "enemy/KindSpawn.h"
#include "enemy/kinds/FlySmall.h"
#include "enemy/kinds/TinyPlane.h"
#include "stage/StageScript.h"

namespace vg::testing {
namespace {

std::string classOf(const EnemyBase& enemy) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(typeid(enemy).name(), nullptr, nullptr, &status), std::free);
    std::string text = status == 0 && name ? name.get() : typeid(enemy).name();
    return text.substr(text.rfind("::") == std::string::npos ? 0 : text.rfind("::") + 2);
}

std::vector<std::string> namesOf(const KindRow& kind) {
    std::vector<std::string> names;
    std::stringstream list(kind.names);
    for (std::string name; std::getline(list, name, ',');) names.push_back(name);
    return names;
}

// A script value for field i of a kind: x and y inside the field, the attack level 2, numbers
// with a fraction (negative for every third, as Easy's turns are) and integers that differ.
struct ScriptValue {
    std::string text;
    int32_t stored;
};
ScriptValue valueFor(const std::string& name, char type, int i) {
    if (name == "x") return {"100.5", N(100.5)};
    if (name == "y") return {"50.25", N(50.25)};
    if (name == "attackLevel") return {"2", I(2)};
    if (type == 'N') {
        const double value = (i % 3 == 0 ? -0.8 : 0.75) + i;
        std::ostringstream text;
        text << value;
        return {text.str(), N(value)};
    }
    return {std::to_string(10 + i), I(10 + i)};
}

TEST(KindTable, RowsAreWholeAndInCodeOrder) {
    std::set<std::string> keywords;
    int32_t code = 100;
    for (const KindRow& kind : enemyKinds()) {
        SCOPED_TRACE(kind.keyword);
        EXPECT_EQ(kind.code, code++);
        EXPECT_TRUE(keywords.insert(kind.keyword).second);
        EXPECT_EQ(findEnemyKind(kind.code), &kind);
        const std::string fields = kind.fields;
        EXPECT_EQ(fields.find_first_not_of("NI"), std::string::npos);
        const std::vector<std::string> names = namesOf(kind);
        ASSERT_EQ(names.size(), fields.size()) << kind.names;
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
        // Where a kind has an attack level it is the last integer field.
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == "attackLevel") {
                EXPECT_EQ(fields[i], 'I');
                EXPECT_EQ(fields.find('I', i + 1), std::string::npos);
            }
        }
        EXPECT_TRUE(kind.layer == layer::kGround || kind.layer == layer::kGroundMiddle ||
                    kind.layer == layer::kAir);
    }
    EXPECT_EQ(code, 154);
    EXPECT_EQ(findEnemyKind(99), nullptr);
    EXPECT_EQ(findEnemyKind(154), nullptr);
    EXPECT_EQ(findEnemyKind(INT32_MIN), nullptr);
    EXPECT_TRUE(isBossClass("Boss1"));
    EXPECT_TRUE(isBossClass("SemiBoss1"));
    EXPECT_FALSE(isBossClass("Boss1Wing"));
    EXPECT_FALSE(isBossClass("Kite"));
}

// One line per keyword, parsed by the game's parser and spawned by the kind's factory: every
// value reaches the factory as the type its row gives (a fraction stays a fraction), the
// factory reads every value by a name of its row and no other, and the body is the row's class
// on the row's layer at the scripted position. A kind not built yet spawns nothing and the
// script check names its line.
TEST(KindTable, EveryKeywordParsesAndSpawnsAsItsKindReadsIt) {
    int built = 0;
    for (const KindRow& kind : enemyKinds()) {
        SCOPED_TRACE(kind.keyword);
        const std::vector<std::string> names = namesOf(kind);
        std::string line = std::string("7,") + kind.keyword;
        std::vector<int32_t> stored;
        for (size_t i = 0; i < names.size(); ++i) {
            const ScriptValue value = valueFor(names[i], kind.fields[i], static_cast<int>(i));
            line += "," + value.text;
            stored.push_back(value.stored);
        }
        line += "\n";
        std::vector<StageEvent> events;
        std::vector<ScriptProblem> problems;
        parseStageScript(line.data(), line.size(), events, &problems);
        ASSERT_EQ(events.size(), 1u) << line;
        EXPECT_EQ(events[0].kind, kind.code);
        for (size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(events[0].args[i], stored[i]) << i;

        EnemyScene scene;
        KindSpawn spawn(scene.system, events[0], kind);
        EnemyBase* body = placeEnemy(spawn);
        if (!kind.built()) {
            EXPECT_EQ(body, nullptr);
            EXPECT_FALSE(spawnEnemy(scene.system, events[0]));
            EXPECT_EQ(scene.system.taskCount, 0);
            ASSERT_EQ(problems.size(), 1u);
            EXPECT_EQ(problems[0].kind, ScriptProblem::KindNotBuilt);
            EXPECT_EQ(problems[0].line, 1);
            continue;
        }
        ++built;
        EXPECT_TRUE(problems.empty());
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(spawn.misreads, 0) << "a value read by a name or type its row does not give";
        EXPECT_EQ(spawn.fieldsRead, (1u << names.size()) - 1) << "a value the kind never reads";
        EXPECT_EQ(classOf(*body), kind.className);
        EXPECT_EQ(body->layer, kind.layer);
        EXPECT_EQ(body->x, N(100.5));
        EXPECT_EQ(body->y, N(50.25));
        if (kind.names == std::string("x,y")) {
            EXPECT_EQ(body->attackLevel, 0);
        } else {
            EXPECT_EQ(body->attackLevel, 2);
        }
        EXPECT_EQ(scene.recorder.spawned, scene.system.taskCount);
    }
    // The kinds of the first stage at least (each new kind raises it; nothing to edit here).
    EXPECT_GE(built, 23);
}

// The values that carry fractions in the scripts keep them on the way into the kinds.
TEST(KindTable, FractionalTurnsAndFactorsStayFractional) {
    const std::string script =
        "0,ENEMY_TINYPLANE_CURVE,60,-16,90,2.5,-0.8,40,1\n"
        "0,ENEMY_FLYSMALL_CURVE,60,-16,90,2.5,1.5,-0.05,30,1\n"
        "0,ENEMY_FLYSMALL_SHIP_BRAKE,60,-16,2.5,0.95,12,1\n";
    std::vector<StageEvent> events;
    parseStageScript(script.data(), script.size(), events);
    ASSERT_EQ(events.size(), 3u);
    EnemyScene scene;
    auto* plane = dynamic_cast<TinyPlane*>(placeEnemy(scene.system, events[0]));
    ASSERT_NE(plane, nullptr);
    EXPECT_EQ(plane->turn, N(-0.8));
    EXPECT_EQ(plane->turnFrames, 40);
    auto* curve = dynamic_cast<FlySmall*>(placeEnemy(scene.system, events[1]));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->turn, N(1.5));
    EXPECT_EQ(curve->acceleration, N(-0.05));
    EXPECT_EQ(curve->curveFrames, 30);
    auto* ship = dynamic_cast<FlySmall*>(placeEnemy(scene.system, events[2]));
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->brake.factor, N(0.95));
    EXPECT_EQ(ship->speed, N(2.5));
}

}  // namespace
}  // namespace vg::testing
