#include "screens/SetKey.h"

#include "core/GameSound.h"
#include "screens/MenuDraw.h"
#include "sound/SoundBank.h"

namespace vg {

int32_t& keyOf(KeyRecord& record, KeyButton button) {
    switch (button) {
        case KeyButton::Left:
            return record.leftKey;
        case KeyButton::Up:
            return record.upKey;
        case KeyButton::Right:
            return record.rightKey;
        case KeyButton::Down:
            return record.downKey;
        case KeyButton::Shot:
            return record.shotKey;
        case KeyButton::Bomb:
            return record.bombKey;
        case KeyButton::Auto:
            return record.autoKey;
        case KeyButton::Pause:
            break;
    }
    return record.pauseKey;
}

int16_t* padButtonOf(KeyRecord& record, KeyButton button) {
    switch (button) {
        case KeyButton::Shot:
            return &record.shotPadButton;
        case KeyButton::Bomb:
            return &record.bombPadButton;
        case KeyButton::Auto:
            return &record.autoPadButton;
        case KeyButton::Pause:
            return &record.pausePadButton;
        default:
            return nullptr;
    }
}

void SetKey::update() {
    System* sys = system();
    if (!sys) return;
    // The first two frames are ignored, so the press that opened the dialog settles.
    if (++counter <= 2) return;
    KeyRecord& record = sys->keyRecords[player & 1];
    bool stored = false;
    for (int32_t code = kFirstKey; code <= kLastKey && !stored; ++code) {
        if (keyPressed(sys->keyboard, code)) {
            keyOf(record, button) = code;
            stored = true;
        }
    }
    for (int32_t pad = 0; pad < static_cast<int32_t>(sys->joysticks.count) && !stored; ++pad) {
        for (int16_t b = 0; b < kPadButtons && !stored; ++b) {
            if (!padPressed(sys->joysticks, pad, b)) continue;
            record.padId = pad;
            // For a direction only the joystick changes: directions come from the stick.
            if (int16_t* padButton = padButtonOf(record, button)) *padButton = b;
            stored = true;
        }
    }
    if (stored) closeModal(SoundManager::kSoundOk);
}

void SetKey::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    drawDialogBand(surface, bandHeight);
    drawGlyphText(menuFont(*sys), ColorKey | Add, 0, &surface, "Push setting key", 150, 180);
}

}  // namespace vg
