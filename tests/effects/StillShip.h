#pragma once

#include "player/PlayerBase.h"

namespace vg::testing {

// A ship that stands still and draws nothing: the panels read its values, and nothing of the
// ships' own behaviour gets into these tests.
class StillShip : public PlayerBase {
  public:
    StillShip(uint8_t playerIndex, uint8_t type) : PlayerBase(playerIndex), type_(type) {}
    void update() override {}
    void draw(DIB&) override {}
    uint8_t shipType() const override { return type_; }

  private:
    uint8_t type_;
};

}  // namespace vg::testing
