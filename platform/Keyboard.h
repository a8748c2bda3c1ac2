#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>

namespace vg {

// One keyboard snapshot: a byte per Windows virtual-key code, bit 7 set while the key is down.
// Key assignments in the save file are stored in these codes, so every backend must deliver them.
using KeySnapshot = std::array<uint8_t, 256>;

constexpr uint8_t kKeyDownBit = 0x80;

// The keyboard as the game samples it: once per frame, the whole state at once.
class KeyboardDevice {
  public:
    virtual ~KeyboardDevice() = default;
    // Fills `keys` with the state of every key now.
    virtual void snapshot(KeySnapshot& keys) = 0;
};

// No keyboard: every key is always up.
class NullKeyboard final : public KeyboardDevice {
  public:
    void snapshot(KeySnapshot& keys) override { keys.fill(0); }
};

// Serves queued snapshots, one per call (one per frame); once the queue is empty every key is
// up. The headless host and the tests drive the game with it.
class ScriptedKeyboard final : public KeyboardDevice {
  public:
    void snapshot(KeySnapshot& keys) override;

    void queue(const KeySnapshot& keys) { frames_.push_back(keys); }
    // Queues `frames` snapshots in which exactly the listed keys are down.
    void queueHeld(std::initializer_list<uint8_t> codes, size_t frames = 1);
    size_t remaining() const { return frames_.size(); }

  private:
    std::deque<KeySnapshot> frames_;
};

}  // namespace vg
