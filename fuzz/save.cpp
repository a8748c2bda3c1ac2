// Loading the save file: any bytes load what is sound, keep defaults for the rest, and leave
// nothing that can overrun a print or index past a table.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/SaveData.h"
#include "fuzz/FuzzFile.h"
#include "input/KeyNames.h"

using vg::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vg::fuzz::InputFile file("save");
    if (!file.write(data, size)) return 0;
    const std::string& path = file.path();

    vg::ScoreTable scores;
    vg::KeyRecords keys;
    vg::resetKeys(keys);
    vg::Config config;
    vg::readSaveFile(path.c_str(), vg::SaveBlocks{scores, keys, config});

    for (auto& difficulty : scores.entries) {
        for (auto& ship : difficulty) {
            for (const vg::ScoreEntry& entry : ship) check(strnlen(entry.name, 10) < 10);
        }
    }
    check(strnlen(config.lastName, 12) < 12);
    check(std::isfinite(config.musicVolume) && config.musicVolume >= 0 && config.musicVolume <= 1);
    check(std::isfinite(config.seVolume) && config.seVolume >= 0 && config.seVolume <= 1);

    // Whatever the keys say, sampling them and naming them stays inside the tables.
    vg::ScriptedKeyboard keyboardDevice;
    vg::KeySnapshot all;
    all.fill(vg::kKeyDownBit);
    keyboardDevice.queue(all);
    vg::ScriptedJoystick joystickDevice(2);
    joystickDevice.pads[0].reading.buttons = 0xFF;
    vg::KeyboardState keyboard;
    vg::JoystickState joysticks;
    vg::startJoysticks(joysticks, joystickDevice);
    vg::updateKeyboard(keyboard, keyboardDevice);
    vg::updateJoysticks(joysticks, joystickDevice);
    for (vg::KeyRecord& record : keys) {
        vg::computeButtons(keyboard, record, joysticks);
        for (int i = 0; i < 8; ++i) {
            check(!vg::keyName(record.keyForBit(static_cast<uint8_t>(1u << i))).empty());
        }
        (void)vg::padPressed(joysticks, record.padId, record.pausePadButton);
    }

    vg::insertScore(config.furthestStage % 6, config.clearMarks[0] % 5, scores,
                    static_cast<int32_t>(config.gameCleared) * 1000000, config.lastName, 2026, 1, 1,
                    0, 0);
    return 0;
}
