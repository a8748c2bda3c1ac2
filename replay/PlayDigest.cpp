#include "replay/PlayDigest.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr uint32_t kFnvOffset = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;

class Fnv {
  public:
    void byte(uint8_t value) { hash_ = (hash_ ^ value) * kFnvPrime; }
    void word(int64_t value) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) byte(static_cast<uint8_t>(bits >> shift));
    }
    uint32_t value() const { return hash_; }

  private:
    uint32_t hash_ = kFnvOffset;
};

}  // namespace

uint32_t PlayDigest::kindCode(std::string_view className) {
    Fnv fnv;
    for (const char c : className) fnv.byte(static_cast<uint8_t>(c));
    return fnv.value();
}

std::string PlayDigest::kindName(const EnemyBase& enemy) {
    const char* mangled = typeid(enemy).name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    // The namespaces go (a kind may move between them); template arguments stay.
    const size_t end = name.find('<');
    const size_t colon = name.rfind("::", end);
    if (colon != std::string::npos) name.erase(0, colon + 2);
    return name;
}

uint32_t PlayDigest::codeOf(const EnemyBase& enemy) {
    const std::type_index type(typeid(enemy));
    const auto known = codes_.find(type);
    if (known != codes_.end()) return known->second;
    const uint32_t code = kindCode(kindName(enemy));
    codes_.emplace(type, code);
    return code;
}

uint32_t PlayDigest::operator()(const TaskManager& tasks) {
    Fnv fnv;
    // The next output comes from a copy: taking the digest must not move the generator.
    GameRandom next = gameRandom();
    fnv.word(next.index());
    fnv.word(next.randomNext());
    for (int index = 0; index < 2; ++index) {
        const PlayerBase* ship = PlayerBase::find(tasks, index);
        fnv.word(ship != nullptr);
        if (!ship) continue;
        fnv.word(ship->x);
        fnv.word(ship->y);
        fnv.word(ship->score);
        fnv.word(ship->lives);
        fnv.word(ship->power);
        fnv.word(ship->energy);
    }
    for (const int enemyLayer : layer::kEnemyLayers) {
        forEachInLayer<EnemyBase>(tasks, enemyLayer, [&](const EnemyBase& enemy) {
            fnv.word(codeOf(enemy));
            fnv.word(enemy.x);
            fnv.word(enemy.y);
            fnv.word(enemy.hitPoints);
        });
    }
    forEachInLayer<BulletBase>(tasks, layer::kBullet, [&](const BulletBase& bullet) {
        fnv.word(bullet.x);
        fnv.word(bullet.y);
    });
    return fnv.value();
}

}  // namespace vg
