#pragma once

#include <cstdint>
#include <vector>

namespace vg {

// One reading of a joystick: both axes on 0..0xFFFF with the centre at 0x8000, and the first
// eight buttons as bits 0x01..0x80 (bit n = button n + 1).
struct JoystickReading {
    uint32_t x = 0x8000;
    uint32_t y = 0x8000;
    uint32_t buttons = 0;
};

// The joysticks as the game samples them. Joysticks are numbered 0 .. count() - 1; the count is
// fixed when the device is made.
class JoystickDevice {
  public:
    virtual ~JoystickDevice() = default;
    virtual uint32_t count() = 0;
    // Asks whether joystick `index` answers now (and opens it when the backend needs that).
    virtual bool probe(uint32_t index) = 0;
    // The axis dead zone the joystick reports; 0 when it reports none.
    virtual uint32_t threshold(uint32_t index) = 0;
    // False when the joystick cannot be read this frame.
    virtual bool read(uint32_t index, JoystickReading& reading) = 0;
};

// No joysticks at all.
class NullJoystick final : public JoystickDevice {
  public:
    uint32_t count() override { return 0; }
    bool probe(uint32_t) override { return false; }
    uint32_t threshold(uint32_t) override { return 0; }
    bool read(uint32_t, JoystickReading&) override { return false; }
};

// Joysticks whose answers are set by the caller: for tests and the headless host.
class ScriptedJoystick final : public JoystickDevice {
  public:
    struct Pad {
        bool answersProbe = true;  // probe() result
        bool readable = true;      // read() result
        uint32_t threshold = 0;
        JoystickReading reading;
    };

    explicit ScriptedJoystick(uint32_t count) : pads(count) {}

    uint32_t count() override { return static_cast<uint32_t>(pads.size()); }
    bool probe(uint32_t index) override { return index < pads.size() && pads[index].answersProbe; }
    uint32_t threshold(uint32_t index) override {
        return index < pads.size() ? pads[index].threshold : 0;
    }
    bool read(uint32_t index, JoystickReading& reading) override;

    std::vector<Pad> pads;
};

}  // namespace vg
