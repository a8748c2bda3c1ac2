#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "core/System.h"
#include "enemy/EnemyKinds.h"
#include "stage/StageEvent.h"

namespace vg {

// What a kind's factory is given: the script event and its keyword's row. The factory reads the
// event's values by the names of the row, so the meaning of a value is written once; a name the
// row does not list, or a value of the other field type (a number read as an integer, which
// would lose its fraction), counts as a misread, which the kind table test looks for.
class KindSpawn {
  public:
    KindSpawn(System& system, const StageEvent& event, const KindRow& kind)
        : system(system), event(event), kind(kind) {}

    // A number field as 16.16.
    int32_t number(std::string_view name);
    // An integer field (the upper 16 bits, signed).
    int16_t integer(std::string_view name);
    // The attack level field, held at the ends of a signed byte.
    int8_t attackLevel();
    int32_t x() { return number("x"); }
    int32_t y() { return number("y"); }

    // The body: a new T on the keyword's layer, at its placement; the observer is told.
    template <class T, class... Args>
    T* create(Args&&... args) {
        return place<T>(kind.placement, std::forward<Args>(args)...);
    }
    // A part: a new T on the keyword's layer at `placement`; the observer is told.
    template <class T, class... Args>
    T* place(Placement placement, Args&&... args) {
        T* enemy = placement == Placement::Front
                       ? system.spawnFront<T>(kind.layer, std::forward<Args>(args)...)
                       : system.spawnBack<T>(kind.layer, std::forward<Args>(args)...);
        if (enemy && system.observer) system.observer->enemySpawned(*enemy);
        return enemy;
    }

    System& system;
    const StageEvent& event;
    const KindRow& kind;
    // Bit i: field i was read; and how many reads named no field or the wrong field type.
    uint32_t fieldsRead = 0;
    int misreads = 0;

  private:
    // The index of field `name` in the row, or -1.
    int fieldIndex(std::string_view name) const;
    // The stored value of field `name` read as `type`; 0 and a misread when it does not fit.
    int32_t read(std::string_view name, char type);
};

}  // namespace vg
