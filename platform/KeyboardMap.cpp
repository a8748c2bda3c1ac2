#include "platform/KeyboardMap.h"

#include <array>

namespace vg {

namespace {

struct UsageKey {
    uint16_t usage;
    uint8_t virtualKey;
};

// Usages whose code does not follow from a run (letters, digits, function keys are runs).
constexpr UsageKey kUsageKeys[] = {
    {40, 0x0D},   // Return
    {41, 0x1B},   // Escape
    {42, 0x08},   // Backspace
    {43, 0x09},   // Tab
    {44, 0x20},   // Space
    {45, 0xBD},   // - _
    {46, 0xBB},   // = +
    {47, 0xDB},   // [ {
    {48, 0xDD},   // ] }
    {49, 0xDC},   // backslash
    {50, 0xDC},   // the ISO # key
    {51, 0xBA},   // ; :
    {52, 0xDE},   // ' "
    {53, 0xC0},   // ` ~
    {54, 0xBC},   // , <
    {55, 0xBE},   // . >
    {56, 0xBF},   // / ?
    {57, 0x14},   // Caps Lock
    {70, 0x2C},   // Print Screen
    {71, 0x91},   // Scroll Lock
    {72, 0x13},   // Pause
    {73, 0x2D},   // Insert
    {74, 0x24},   // Home
    {75, 0x21},   // Page Up
    {76, 0x2E},   // Delete
    {77, 0x23},   // End
    {78, 0x22},   // Page Down
    {79, 0x27},   // Right
    {80, 0x25},   // Left
    {81, 0x28},   // Down
    {82, 0x26},   // Up
    {83, 0x90},   // Num Lock
    {84, 0x6F},   // keypad /
    {85, 0x6A},   // keypad *
    {86, 0x6D},   // keypad -
    {87, 0x6B},   // keypad +
    {88, 0x0D},   // keypad Enter
    {98, 0x60},   // keypad 0
    {99, 0x6E},   // keypad .
    {100, 0xE2},  // the ISO key beside left Shift
    {101, 0x5D},  // Application (context menu)
    {116, 0x2B},  // Execute
    {117, 0x2F},  // Help
    {118, 0x5D},  // Menu
    {119, 0x29},  // Select
    {127, 0xAD},  // Mute
    {128, 0xAF},  // Volume Up
    {129, 0xAE},  // Volume Down
    {133, 0x6C},  // keypad separator
    {136, 0x15},  // Katakana/Hiragana
    {138, 0x1C},  // Henkan (convert)
    {139, 0x1D},  // Muhenkan (no convert)
    {144, 0x15},  // Hangul
    {145, 0x19},  // Hanja
    {155, 0x03},  // Cancel
    {156, 0x0C},  // Clear
    {224, 0xA2},  // left Ctrl
    {225, 0xA0},  // left Shift
    {226, 0xA4},  // left Alt
    {227, 0x5B},  // left Windows
    {228, 0xA3},  // right Ctrl
    {229, 0xA1},  // right Shift
    {230, 0xA5},  // right Alt
    {231, 0x5C},  // right Windows
    {282, 0x5F},  // Sleep
};

constexpr uint32_t kUsageTableSize = 512;

constexpr std::array<uint8_t, kUsageTableSize> buildUsageTable() {
    std::array<uint8_t, kUsageTableSize> table{};
    for (uint32_t i = 0; i < 26; ++i) table[4 + i] = static_cast<uint8_t>('A' + i);
    for (uint32_t i = 0; i < 9; ++i) table[30 + i] = static_cast<uint8_t>('1' + i);
    table[39] = '0';
    for (uint32_t i = 0; i < 12; ++i) table[58 + i] = static_cast<uint8_t>(0x70 + i);   // F1..F12
    for (uint32_t i = 0; i < 12; ++i) table[104 + i] = static_cast<uint8_t>(0x7C + i);  // F13..F24
    for (uint32_t i = 0; i < 9; ++i) table[89 + i] = static_cast<uint8_t>(0x61 + i);  // keypad 1..9
    for (const UsageKey& key : kUsageKeys) table[key.usage] = key.virtualKey;
    return table;
}

constexpr std::array<uint8_t, kUsageTableSize> kUsageTable = buildUsageTable();

}  // namespace

uint8_t virtualKeyForUsage(uint32_t usage) {
    return usage < kUsageTableSize ? kUsageTable[usage] : 0;
}

uint8_t virtualKeyForCharacter(int32_t ch) {
    if (ch >= 'a' && ch <= 'z') return static_cast<uint8_t>(ch - 'a' + 'A');
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) return static_cast<uint8_t>(ch);
    switch (ch) {
        case ';':
            return 0xBA;
        case '=':
            return 0xBB;
        case ',':
            return 0xBC;
        case '-':
            return 0xBD;
        case '.':
            return 0xBE;
        case '/':
            return 0xBF;
        case '`':
            return 0xC0;
        case '[':
            return 0xDB;
        case '\\':
            return 0xDC;
        case ']':
            return 0xDD;
        case '\'':
            return 0xDE;
        default:
            return 0;
    }
}

void addGenericModifiers(KeySnapshot& keys) {
    constexpr uint8_t kShift = 0x10, kCtrl = 0x11, kAlt = 0x12;
    constexpr uint8_t kLeftShift = 0xA0;
    // Left and right codes come in pairs from 0xA0: Shift, Ctrl, Alt.
    const uint8_t generic[] = {kShift, kCtrl, kAlt};
    for (int i = 0; i < 3; ++i) {
        const uint8_t sides = keys[kLeftShift + 2 * i] | keys[kLeftShift + 2 * i + 1];
        if (sides & kKeyDownBit) keys[generic[i]] |= kKeyDownBit;
    }
}

}  // namespace vg
