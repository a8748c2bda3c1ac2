// Stand-ins until the panels exist. The panels work replaces this file.
#include "core/Layers.h"
#include "core/TaskQuery.h"
#include "effects/BlackFrame.h"
#include "effects/BossShieldFrame.h"
#include "effects/OutFrame.h"

namespace vg {

void OutFrame::update() {}
void OutFrame::draw(DIB&) {}
void OutFrame::startClosing() {}
void BlackFrame::draw(DIB&) {}

BossShieldFrame::BossShieldFrame(int32_t max) : shownValue(max), maximum(max) {}
void BossShieldFrame::update() {}
void BossShieldFrame::draw(DIB&) {}
void BossShieldFrame::close() {
    end();
}
BossShieldFrame* BossShieldFrame::find(const TaskManager& manager) {
    return findFirstInLayer<BossShieldFrame>(manager, layer::kFrame);
}

}  // namespace vg
