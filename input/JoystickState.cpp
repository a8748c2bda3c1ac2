#include "input/JoystickState.h"

#include <cstddef>
#include <limits>

namespace vg {

namespace {

void count(int32_t& counter, bool active) {
    if (!active) {
        counter = 0;
    } else if (counter < std::numeric_limits<int32_t>::max()) {
        ++counter;
    }
}

// The record of a usable pad, or null. padId is compared unsigned, so -1 ("none") and any
// negative value from a damaged save fall out with the too-large ones.
const JoystickRecord* connectedRecord(const std::vector<JoystickRecord>& records,
                                      const JoystickState& joysticks, int32_t padId) {
    const uint32_t index = static_cast<uint32_t>(padId);
    if (!joysticks.present() || index >= joysticks.count || index >= records.size()) {
        return nullptr;
    }
    const JoystickRecord& record = records[index];
    return record.connected ? &record : nullptr;
}

int32_t counterFor(const JoystickRecord& record, int32_t code) {
    if (code >= 0 && code <= kPadCodeButtonLast) return record.button[code];
    if (code >= kPadCodeUp && code <= kPadCodeLeft) return record.stick[code - kPadCodeUp];
    return 0;
}

}  // namespace

void startJoysticks(JoystickState& joysticks, JoystickDevice& device) {
    joysticks = JoystickState{};
    joysticks.count = device.count();
    if (joysticks.count == 0) return;
    joysticks.threshold.assign(joysticks.count, kDefaultJoystickThreshold);
    joysticks.current.assign(joysticks.count, JoystickRecord{});
    joysticks.previous.assign(joysticks.count, JoystickRecord{});
    for (uint32_t i = 0; i < joysticks.count; ++i) {
        probeJoystick(joysticks, device, static_cast<int32_t>(i));
    }
}

void probeJoystick(JoystickState& joysticks, JoystickDevice& device, int32_t index) {
    const uint32_t pad = static_cast<uint32_t>(index);
    if (!joysticks.present() || pad >= joysticks.count) return;
    const bool answers = device.probe(pad);
    joysticks.current[pad].connected = answers ? 1 : 0;
    if (!answers) return;
    // A dead zone reaching past the centre would put the stick's rest inside Up and Left.
    const uint32_t threshold = device.threshold(pad);
    if (threshold != 0 && threshold < kAxisCentre) joysticks.threshold[pad] = threshold;
}

void updateJoysticks(JoystickState& joysticks, JoystickDevice& device) {
    if (!joysticks.present()) return;
    joysticks.previous = joysticks.current;
    for (uint32_t pad = 0; pad < joysticks.count; ++pad) {
        JoystickReading reading;
        if (!device.read(pad, reading)) continue;
        const uint32_t t = joysticks.threshold[pad];
        // Unsigned and strict; probing keeps the threshold below the centre, so neither bound
        // wraps.
        const uint32_t low = kAxisCentre - t;
        const uint32_t high = kAxisCentre + t;
        JoystickRecord& record = joysticks.current[pad];
        count(record.stick[0], reading.y < low);
        count(record.stick[1], reading.x > high);
        count(record.stick[2], reading.y > high);
        count(record.stick[3], reading.x < low);
        for (size_t b = 0; b < record.button.size(); ++b) {
            count(record.button[b], (reading.buttons >> b) & 1);
        }
    }
}

int32_t padHeld(int32_t padId, const JoystickState& joysticks, int32_t code) {
    const JoystickRecord* record = connectedRecord(joysticks.current, joysticks, padId);
    return record ? counterFor(*record, code) : 0;
}

bool padPressed(const JoystickState& joysticks, int32_t padId, int32_t code) {
    if (padHeld(padId, joysticks, code) == 0) return false;
    const uint32_t index = static_cast<uint32_t>(padId);
    return counterFor(joysticks.previous[index], code) == 0;
}

}  // namespace vg
