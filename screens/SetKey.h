#pragma once

#include <cstdint>

#include "screens/ScreenBase.h"

namespace vg {

// Button types of the key configuration, in its row order.
enum class KeyButton : int { Left, Up, Right, Down, Shot, Bomb, Auto, Pause };

// The key field of `record` for `button`.
int32_t& keyOf(KeyRecord& record, KeyButton button);
// The joystick button field for Shot, Bomb, Auto and Pause; null for the directions, which
// come from the stick.
int16_t* padButtonOf(KeyRecord& record, KeyButton button);

// "Push setting key": waits over the frozen key configuration for a new key press or joystick
// button and assigns it to one button of one player.
class SetKey : public ScreenBase {
  public:
    // Codes the keyboard scan can assign.
    static constexpr int32_t kFirstKey = 8;
    static constexpr int32_t kLastKey = 164;
    static constexpr int kPadButtons = 8;

    SetKey(int player, KeyButton button) : player(player), button(button) {}
    void update() override;
    void draw(DIB& surface) override;

    int player;
    KeyButton button;
    int32_t counter = 0;
    int32_t bandHeight = 0;
};

}  // namespace vg
