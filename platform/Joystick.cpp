#include "platform/Joystick.h"

namespace vg {

bool ScriptedJoystick::read(uint32_t index, JoystickReading& reading) {
    if (index >= pads.size() || !pads[index].readable) return false;
    reading = pads[index].reading;
    return true;
}

}  // namespace vg
