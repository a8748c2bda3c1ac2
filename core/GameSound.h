#pragma once

#include <cstdint>

namespace vg {

class System;

namespace SoundManager {
class SoundBank;
}

// The game's way to the sound bank of System. Requests for numbers the bank does not hold
// (a file that did not load, no sound device) are ignored.
SoundManager::SoundBank* soundBankOf(System& system);

void playSound(System& system, int32_t number);
void stopSound(System& system, int32_t number);
bool soundLoaded(System& system, int32_t number);
// Loads a tune under `number`, sets it to the music volume setting and plays it.
void startMusic(System& system, const char* path, int32_t number);
// Loads the sound-effect table; returns how many effects loaded.
int loadSoundEffects(System& system);

}  // namespace vg
