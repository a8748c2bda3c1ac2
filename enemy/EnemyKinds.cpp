#include "enemy/EnemyKinds.h"

namespace vg {

namespace {

// findEnemyKind looks rows up by their place: the codes run without a gap from the first row.
constexpr bool codesRunInOrder() {
    int32_t expected = kinds::kTable[0].code;
    for (const KindRow& kind : kinds::kTable) {
        if (kind.code != expected++) return false;
    }
    return true;
}
static_assert(codesRunInOrder(), "enemy kind codes must run in order without a gap");

}  // namespace

bool isBossClass(std::string_view className) {
    for (const KindRow& kind : enemyKinds()) {
        if (kind.boss && className == kind.className) return true;
    }
    return false;
}

}  // namespace vg
