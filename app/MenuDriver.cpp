#include "app/MenuDriver.h"

#include <algorithm>

#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "input/KeyRecord.h"
#include "screens/CharacterSelect.h"
#include "screens/ChooseLevel.h"
#include "screens/Logo.h"
#include "screens/Title.h"

namespace vg {

namespace {
// Tries of Right for a "2" variant before settling for the base ship (the variant is locked).
constexpr int kVariantTries = 4;
}  // namespace

MenuDriver::MenuDriver(uint8_t difficulty, std::array<uint8_t, 2> ships)
    : difficulty_(difficulty), ships_(ships) {}

std::array<uint8_t, 2> MenuDriver::decide(const System& system) {
    std::array<uint8_t, 2> buttons{};
    if (!released_) {
        released_ = true;
        return buttons;
    }
    const auto press = [&](int player, uint8_t button) {
        buttons[player & 1] = button;
        released_ = false;
        return buttons;
    };
    if (findFirstInLayer<Logo>(system, layer::kScreens)) return press(0, kButtonShot);

    if (const Title* title = findFirstInLayer<Title>(system, layer::kScreens)) {
        if (title->n < 2) return buttons;
        if (menuMemory().titleCursor != Title::kItemGameStart) return press(0, kButtonUp);
        return press(0, kButtonShot);
    }

    if (const ChooseLevel* choose = findFirstInLayer<ChooseLevel>(system, layer::kScreens)) {
        if (choose->flyOut > 0) return buttons;
        const int wanted = std::min<int>(difficulty_, ChooseLevel::highestOffered(system));
        if (system.difficulty != wanted) return press(0, kButtonDown);
        return press(0, kButtonShot);
    }

    if (const CharacterSelect* select =
            findFirstInLayer<CharacterSelect>(system, layer::kScreens)) {
        if (select->startCounter > 0) return buttons;
        const std::array<uint8_t, 2>& chosen = menuMemory().chosenShip;
        if (ships_[1] != CharacterSelect::kNotJoined && chosen[1] == CharacterSelect::kNotJoined) {
            return press(1, kButtonShot);
        }
        for (int player = 0; player < 2; ++player) {
            if (chosen[player] == CharacterSelect::kNotJoined || select->ready[player]) continue;
            const uint8_t wanted = ships_[player];
            const uint8_t have = chosen[player];
            // Up and Down switch between the two base ships, Right to and from the variant.
            if ((wanted ^ have) & 1) return press(player, kButtonUp);
            if ((wanted >= 2) != (have >= 2) && variantTries_ < kVariantTries) {
                ++variantTries_;
                return press(player, kButtonRight);
            }
            return press(player, kButtonShot);
        }
    }
    return buttons;
}

}  // namespace vg
