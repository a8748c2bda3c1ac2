#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "screens/ScreenBase.h"

namespace vg {

// The options screen: the two volumes, four play switches, and the ways to the key
// configuration, the reset dialog and back to the title. Changes apply at once; they reach the
// disk with the rest of the save when the game ends.
class Option : public ScreenBase {
  public:
    enum Row {
        kRowMusicVolume,
        kRowSEVolume,
        kRowBulletChangeCount,
        kRowPlayerCollision,
        kRowBuzz,
        kRowOpticalEffect,
        kRowKeyConfig,
        kRowDefault,
        kRowBack,
        kRowCount,
    };
    static constexpr float kVolumeStep = 0.025f;

    Option();
    void update() override;
    void draw(DIB& surface) override;

    // The value column of row `row` ("" for rows without a value).
    static std::string valueText(const Config& config, int row);
    static const char* const kRowLabels[kRowCount];

    int cursor = 0;
    // 0..15, one step per draw: the height of the selected row's echo.
    int32_t pulse = 0;
    // Row positions (16.16), sliding in from the right one after the other.
    std::array<int32_t, kRowCount> rowX{};
    int32_t n = 0;

  private:
    void step(System& system, int direction);
};

}  // namespace vg
