#include "core/GameSound.h"

#include "core/System.h"
#include "sound/SoundBank.h"

namespace vg {

SoundManager::SoundBank* soundBankOf(System& system) {
    return &system.sound;
}

void playSound(System& system, int32_t number) {
    system.sound.playSound(number);
}

void stopSound(System& system, int32_t number) {
    system.sound.stopSound(number);
}

bool soundLoaded(System& system, int32_t number) {
    return system.sound.find(number) != nullptr;
}

void startMusic(System& system, const char* path, int32_t number) {
    if (!system.sound.loadMusic(path, number)) return;
    system.sound.setSoundVolume(number, system.config.musicVolume);
    system.sound.playSound(number);
}

int loadSoundEffects(System& system) {
    return system.sound.loadEffects();
}

}  // namespace vg
