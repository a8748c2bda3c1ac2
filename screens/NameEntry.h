#pragma once

#include <cstdint>

#include "core/Task.h"
#include "screens/ScreenBase.h"

namespace vg {

// Start of name entry (one update): clears the list and the play state, keeps the game-over
// tune playing (or starts it) and opens NameEntry over "selectBack.png".
class NameEntryInit : public Task {
  public:
    void update() override;
};

// The name of a finished game, typed on a 16 x 6 grid of the menu font: confirm adds the
// character under the cursor (at most 9), cancel takes the last one back, and the end mark at
// (15, 5) files the better player's final score into the score table and writes the save at
// once. Escape leaves without filing. The name is Config::lastName, so it is offered next time.
class NameEntry : public ScreenBase {
  public:
    static constexpr int kColumns = 16;
    static constexpr int kRows = 6;
    static constexpr int kEndColumn = 15;
    static constexpr int kEndRow = 5;
    static constexpr int kMaxNameLength = 9;
    // The characters of the grid, row by row; the last cell of the last row is the end mark.
    static constexpr const char* kGrid[kRows] = {
        "ABCDEFGHIJKLMNOP", "QRSTUVWXYZabcdef",  "ghijklmnopqrstuv",
        "wxyz0123456789:;", "<=>?@!\"#$%&'()*+", ",-./[\\]^_`{|}~ ",
    };

    void update() override;
    void draw(DIB& surface) override;

    // The player whose score is filed: of the players who flew a ship, the one with the higher
    // final score, player 1 on a tie; -1 when neither did.
    static int filingPlayer(const System& system);

    int column = kEndColumn;
    int row = kEndRow;
    // The cursor box (16.16), easing toward the cursor's cell.
    int32_t boxX = 0;
    int32_t boxY = 0;
    int32_t frame = 0;
    bool started = false;

  private:
    void confirm(System& system);
    // Files the score and writes the save, then leaves.
    void file(System& system);
    void leave(System& system);
};

}  // namespace vg
