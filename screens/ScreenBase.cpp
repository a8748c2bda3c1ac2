#include "screens/ScreenBase.h"

#include "resources/Package.h"
#include "resources/Png.h"

namespace vg {

namespace {
// A held direction repeats every 4 frames once its counter is above this.
constexpr uint8_t kRepeatDelay = 24;
// The counter wraps back to the delay here, so it never overflows and the rhythm stays 4.
constexpr uint8_t kRepeatWrap = 48;
}  // namespace

MenuMemory& menuMemory() {
    static MenuMemory memory;
    return memory;
}

void leavePlay(System& system) {
    system.endAll();
    system.replay.recording = 0;
    system.replay.playingBack = 0;
    system.fieldView = 0;
    system.stageStarted = 0;
    system.inStage = 0;
}

bool loadScreenImage(System& system, int slot, const char* name) {
    if (slot < 0 || slot >= System::kImageSlotCount) return false;
    PackageReader reader;
    // A missing package is not an error: loadImage then looks for the loose file.
    reader.openPackage("data.pck");
    return loadImage(name, reader, system.scratchArena, system.imageSlots[slot]);
}

ScreenBase::ScreenBase() {
    holdCounters.fill(1);
}

void ScreenBase::resetHoldCounters() {
    holdCounters.fill(1);
}

int ScreenBase::test(int bitIndex, bool repeat) {
    System* sys = system();
    if (!sys) return kNoPlayer;
    const uint8_t bit = static_cast<uint8_t>(1u << bitIndex);
    int result = kNoPlayer;
    for (int player = 0; player < 2; ++player) {
        uint8_t& counter = holdCounters[2 * bitIndex + player];
        if (!(sys->keyRecords[player].buttons & bit)) {
            counter = 0;
            continue;
        }
        bool fire = false;
        if (repeat) {
            ++counter;
            fire = counter == 1 || (counter > kRepeatDelay && counter % 4 == 0);
            if (counter >= kRepeatWrap) counter = kRepeatDelay;
        } else if (counter == 0) {
            counter = 1;
            fire = true;
        }
        // Player 1 is tested last, so it wins a tie.
        if (fire) result = player;
    }
    return result;
}

int ScreenBase::menuUp() {
    return test(0, true);
}
int ScreenBase::menuRight() {
    return test(1, true);
}
int ScreenBase::menuDown() {
    return test(2, true);
}
int ScreenBase::menuLeft() {
    return test(3, true);
}
int ScreenBase::menuConfirm() {
    return test(4, false);
}
int ScreenBase::menuCancel() {
    return test(5, false);
}
int ScreenBase::menuAuto() {
    return test(6, false);
}

bool ScreenBase::escapePressed() const {
    const System* sys = system();
    return sys && keyPressed(sys->keyboard, kKeyEscape);
}

}  // namespace vg
