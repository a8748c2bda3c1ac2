#include "screens/Logo.h"

#include "core/GameSound.h"
#include "render/Blit.h"
#include "screens/TitleInit.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

enum class Direction { Up, Right, Down, Left };

// The secret: eight direction presses during the logo. Do not show it anywhere else.
constexpr Direction kSequence[Logo::kUnlockSteps] = {
    Direction::Down, Direction::Right, Direction::Up,    Direction::Left,
    Direction::Left, Direction::Down,  Direction::Right, Direction::Up,
};

// The key and stick input of `direction` in a player's current assignment.
bool directionPressed(const System& system, const KeyRecord& record, Direction direction) {
    int32_t key = 0;
    int32_t padCode = 0;
    switch (direction) {
        case Direction::Up:
            key = record.upKey;
            padCode = kPadCodeUp;
            break;
        case Direction::Right:
            key = record.rightKey;
            padCode = kPadCodeRight;
            break;
        case Direction::Down:
            key = record.downKey;
            padCode = kPadCodeDown;
            break;
        case Direction::Left:
            key = record.leftKey;
            padCode = kPadCodeLeft;
            break;
    }
    return keyPressed(system.keyboard, key) || padPressed(system.joysticks, record.padId, padCode);
}

// Logo cell of "frame.png".
constexpr int32_t kLogoX = 192;
constexpr int32_t kLogoY = 312;
constexpr int32_t kLogoW = 92;
constexpr int32_t kLogoH = 40;

}  // namespace

uint32_t Logo::alphaAt(int32_t n) {
    if (n < 64) return static_cast<uint32_t>(n * 255 / 64);
    if (n < 149) return 255;
    const int32_t a = (kFadeOutFrame - n) * 255 / 32 + 255;
    return a > 0 ? static_cast<uint32_t>(a) : 0;
}

void Logo::unlockSequence(System& system) {
    for (const KeyRecord& record : system.keyRecords) {
        if (unlockCount < kUnlockSteps &&
            directionPressed(system, record, kSequence[unlockCount])) {
            ++unlockCount;
        }
    }
}

void Logo::unlock(System& system) {
    system.config.gameCleared = 1;
    system.config.extraCleared = 1;
    system.config.furthestStage = 5;
    // Ship types 0 and 1 cleared on "Normal": unlocks TYPE-A2 and TYPE-B2.
    system.config.clearMarks[1] |= 0x03;
    playSound(system, SoundManager::kSoundExtend);
}

void Logo::update() {
    System* sys = system();
    if (!sys) return;
    unlockSequence(*sys);
    ++n;
    if (n < kEndFrame) {
        // All three tests run every frame, so each keeps its counters current.
        const bool confirm = fired(menuConfirm());
        const bool cancel = fired(menuCancel());
        const bool skip = fired(menuAuto());
        if ((confirm || cancel || skip) && n < kFadeOutFrame) n = kFadeOutFrame;
        return;
    }
    if (unlockCount == kUnlockSteps) unlock(*sys);
    goTo<TitleInit>(kSilent);
}

void Logo::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    fillRect(&surface, 0, 0, surface.width, surface.height, 0, 0, 128);
    blit(&sys->imageSlots[kSlotFrame], &surface, (surface.width - kLogoW) / 2,
         (surface.height - kLogoH) / 2, kLogoW, kLogoH, kLogoX, kLogoY, Alpha, alphaAt(n));
}

}  // namespace vg
