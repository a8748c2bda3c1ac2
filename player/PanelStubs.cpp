// Stand-ins until the panels exist. The panels work replaces this file.
#include "player/ComboFrame.h"
#include "player/LaserFrame.h"
#include "player/Result.h"

namespace vg {

void ComboFrame::update() {}
void ComboFrame::draw(DIB&) {}
void LaserFrame::update() {}
void LaserFrame::draw(DIB&) {}
void Result::update() {
    end();
}
void Result::draw(DIB&) {}

}  // namespace vg
