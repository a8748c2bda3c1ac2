#pragma once

#include <cstdint>

#include "screens/ScreenBase.h"

namespace vg {

// The key configuration: each player's keys, joystick and joystick buttons. Its navigation reads
// the raw key counters of the mapped direction and Shot keys, not the button bytes, because the
// mapping those come from is what is being edited.
class KeyConfig : public ScreenBase {
  public:
    enum Row {
        kRowPlayer = 0,
        kRowPad = 1,
        kRowFirstKey = 2,  // Left, Up, Right, Down, Shot, Bomb, Auto, Pause
        kRowQuit = 10,
        kRowCount = 11,
    };

    void update() override;
    void draw(DIB& surface) override;

    int row = 0;
    int player = 0;
    int32_t n = 0;

  private:
    void changePad(System& system, int direction);
};

}  // namespace vg
