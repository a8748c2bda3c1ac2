#pragma once

#include <cstdint>

#include "screens/ScreenBase.h"

namespace vg {

// "Reset to default": a yes/no dialog over the frozen options screen. "Yes" puts the volumes,
// both players' keys and the four play switches back to their defaults.
class OptionSetDefault : public ScreenBase {
  public:
    static constexpr int kYes = 0;
    static constexpr int kNo = 1;

    void update() override;
    void draw(DIB& surface) override;

    int choice = kNo;
    int32_t pulse = 0;
    // 16.16 pixels.
    int32_t bandHeight = 0;
};

}  // namespace vg
