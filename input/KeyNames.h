#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vg {

// Display names of the virtual-key codes 0x00..0xA5 for the key configuration screen; null
// where a code has no name.
constexpr int32_t kKeyNameCount = 0xA6;
extern const std::array<const char*, kKeyNameCount> keyNameTable;

// The text shown for key code `code`: its name cut to 15 characters, or its decimal number for
// a code without a name or outside the table.
std::string keyName(int32_t code);

}  // namespace vg
