#pragma once

#include <array>
#include <cstdint>

#include "core/Task.h"
#include "screens/ScreenBase.h"

namespace vg {

// Start of the score table (one update): clears the list and opens Score over "scoreBack.png".
class ScoreInit : public Task {
  public:
    void update() override;
};

// The high-score table of one difficulty and ship type: Left and Right choose the difficulty
// ("Extra" once a game was cleared, "Extra2" once "Extra" was), Up and Down the ship (the "2"
// variants once unlocked); confirm, cancel or Escape go back to the title. The ten places slide
// in from the right one after the other.
class Score : public ScreenBase {
  public:
    static constexpr int kRowCount = 10;
    static constexpr int32_t kRowStartX = 520;
    static constexpr int32_t kRowX = 80;
    static constexpr int32_t kRowCounterTop = 64;
    static constexpr int32_t kPulseSteps = 16;
    static constexpr const char* kShipNames[4] = {"TYPE-A", "TYPE-B", "TYPE-A2", "TYPE-B2"};

    Score();
    void update() override;
    void draw(DIB& surface) override;

    // The text of one place (counted from 0), as shown.
    static void formatPlace(const ScoreEntry& entry, int place, char (&text)[64]);
    // Rows slide in again from the right.
    void restartRows();

    int difficulty = 0;
    int shipType = 0;
    int32_t frame = 0;
    int32_t pulse = 0;
    int32_t rowCounter = 0;
    std::array<int32_t, kRowCount> rowX{};

  private:
    void stepShip(const System& system, int direction);
};

}  // namespace vg
