#include "enemy/EnemySpawner.h"

#include <algorithm>
#include <cstring>

#include "enemy/EnemyKinds.h"
#include "enemy/KindSpawn.h"

namespace vg {

int KindSpawn::fieldIndex(std::string_view name) const {
    std::string_view names = kind.names;
    for (int index = 0; !names.empty(); ++index) {
        const size_t comma = names.find(',');
        if (names.substr(0, comma) == name) return index;
        if (comma == std::string_view::npos) break;
        names.remove_prefix(comma + 1);
    }
    return -1;
}

int32_t KindSpawn::read(std::string_view name, char type) {
    const int index = fieldIndex(name);
    if (index < 0 || index >= static_cast<int>(std::strlen(kind.fields)) ||
        kind.fields[index] != type) {
        ++misreads;
        return 0;
    }
    fieldsRead |= 1u << index;
    return event.args[index];
}

int32_t KindSpawn::number(std::string_view name) {
    return read(name, 'N');
}

int16_t KindSpawn::integer(std::string_view name) {
    return static_cast<int16_t>(static_cast<uint32_t>(read(name, 'I')) >> 16);
}

int8_t KindSpawn::attackLevel() {
    // A script value beyond a signed byte is held at its end.
    return static_cast<int8_t>(std::clamp<int32_t>(integer("attackLevel"), -128, 127));
}

EnemyBase* placeEnemy(KindSpawn& spawn) {
    return spawn.kind.built() ? spawn.kind.factory(spawn) : nullptr;
}

EnemyBase* placeEnemy(System& system, const StageEvent& event) {
    const KindRow* kind = findEnemyKind(event.kind);
    if (!kind) return nullptr;
    KindSpawn spawn(system, event, *kind);
    return placeEnemy(spawn);
}

bool spawnEnemy(System& system, const StageEvent& event) {
    const KindRow* kind = findEnemyKind(event.kind);
    if (!kind || !kind->built()) return false;
    KindSpawn spawn(system, event, *kind);
    kind->factory(spawn);
    return true;
}

StageEvent enemyEvent(int32_t kind, std::initializer_list<int32_t> args) {
    StageEvent event;
    event.kind = kind;
    int i = 0;
    for (const int32_t value : args) {
        if (i >= 10) break;
        event.args[i++] = value;
    }
    return event;
}

}  // namespace vg
