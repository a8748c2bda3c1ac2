#include "platform/Keyboard.h"

namespace vg {

void ScriptedKeyboard::snapshot(KeySnapshot& keys) {
    if (frames_.empty()) {
        keys.fill(0);
        return;
    }
    keys = frames_.front();
    frames_.pop_front();
}

void ScriptedKeyboard::queueHeld(std::initializer_list<uint8_t> codes, size_t frames) {
    KeySnapshot keys{};
    for (uint8_t code : codes) keys[code] = kKeyDownBit;
    for (size_t i = 0; i < frames; ++i) frames_.push_back(keys);
}

}  // namespace vg
