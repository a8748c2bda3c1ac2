#include "sound/SoundBank.h"

#include <cmath>
#include <string>

#include "platform/GamePaths.h"

namespace vg::SoundManager {

const std::array<EffectFile, 23> kEffectLoadOrder = {{
    {kSoundDamage, "./sound/damage.wav"},
    {kSoundShot, "./sound/shot.wav"},
    {kSoundShot2, "./sound/shot2.wav"},
    {kSoundLaser, "./sound/laser.wav"},
    {kSoundLaser2, "./sound/laser2.wav"},
    {kSoundDead, "./sound/dead.wav"},
    {kSoundKill, "./sound/kill.wav"},
    {kSoundKill2, "./sound/kill2.wav"},
    {kSoundCrystal, "./sound/crystal.wav"},
    {kSoundEnergy, "./sound/energy.wav"},
    {kSoundGraze, "./sound/graze.wav"},
    {kSoundItem, "./sound/item.wav"},
    {kSoundBomb, "./sound/bomb.wav"},
    {kSoundWarning, "./sound/warning.wav"},
    {kSoundEject, "./sound/eject.wav"},
    {kSoundCharge, "./sound/charge.wav"},
    {kSoundChargeShot, "./sound/chargeShot.wav"},
    {kSoundBossKill, "./sound/bossKill.wav"},
    {kSoundExtend, "./sound/extend.wav"},
    {kSoundSelect, "./sound/select.wav"},
    {kSoundOk, "./sound/ok.wav"},
    {kSoundCancel, "./sound/cancel.wav"},
    {kSoundPause, "./sound/pause.wav"},
}};

SoundEffect::SoundEffect(EffectLibrary& library, const char* path) : library_(library) {
    if (library_.loadWave(path, &handle)) {
        library_.setVolume(handle, volume);
        soundState = kIdle;
    } else {
        handle = 0;
    }
}

SoundEffect::~SoundEffect() {
    if (handle != 0) {
        library_.stop(handle);
        library_.unloadWave(handle);
    }
}

void SoundEffect::update() {
    if (soundState == kPlayRequested) {
        // An effect restarts from its beginning each time it is played.
        library_.reset(handle);
        library_.setVolume(handle, volume);
        library_.start(handle, 0);
        soundState = kIdle;
    } else if (soundState == kStopRequested) {
        library_.stop(handle);
        soundState = kIdle;
    }
}

void SoundEffect::setVolume(float v) {
    // Out-of-range values would overflow the conversion below; not-a-number counts as 0.
    if (!(v > 0.0f)) v = 0.0f;
    if (v > 1.0f) v = 1.0f;
    // Single precision on purpose: 0.85 gives -1499.
    volume = static_cast<int32_t>((1.0f - v) * -10000.0f);
    library_.setVolume(handle, volume);
    if (volume == EffectLibrary::kSilent && soundState != kNotLoaded &&
        soundState != kToBeRemoved) {
        soundState = kStopRequested;
    }
}

BGM::BGM(Mixer& output, const char* path) {
    MusicLibrary* library = MusicLibrary::load();
    if (library == nullptr) return;
    vox = library->createVox(output);
    if (!vox) return;
    if (!vox->open(path)) {
        vox.reset();
        return;
    }
    vox->setLoop(Vox::kLoopForever);
    vox->setVolume(volume);
    soundState = kIdle;
}

BGM::~BGM() {
    if (vox) {
        vox->stop();
        vox->release();
        vox.reset();
    }
}

void BGM::update() {
    if (!vox) return;
    if (soundState == kPlayRequested) {
        // A play request on a playing tune restarts it from the beginning.
        vox->setVolume(volume);
        vox->setPosition(0.0f);
        vox->play();
        soundState = kPlaying;
    } else if (soundState == kPlaying) {
        vox->setVolume(volume);
    } else if (soundState == kStopRequested) {
        vox->fade(volume, 0.0f, 1000);
        volume = 0.0f;
        soundState = kIdle;
    }
}

void BGM::setVolume(float v) {
    volume = v;
    if (vox) vox->setVolume(v);
}

SoundBank::~SoundBank() {
    // std::map walks in number order.
    for (auto& [number, sound] : sounds_) sound.reset();
    sounds_.clear();
    effects_.term();
    // Closing the device waits for its last pull, so the mixer outlives every callback.
    device_.reset();
    mixer_.setOutputAvailable(false);
}

bool SoundBank::init(std::unique_ptr<AudioDevice> device) {
    device_ = std::move(device);
    if (!device_) device_ = std::make_unique<NullAudioDevice>();
    mixer_.setOutputAvailable(device_->isOpen());
    effectsReady_ = effects_.init(*device_);
    return effectsReady_;
}

bool SoundBank::loadEffect(const char* path, int32_t number) {
    if (!effectsReady_) return false;
    // Loading under a number in use replaces it; a failed load leaves the number empty.
    sounds_.erase(number);
    // Sounds are read from the game's data folder (platform/GamePaths.h).
    auto effect = std::make_unique<SoundEffect>(effects_, dataPath(path).c_str());
    if (effect->soundState == kNotLoaded) return false;
    sounds_[number] = std::move(effect);
    return true;
}

int SoundBank::loadEffects() {
    int loaded = 0;
    for (const EffectFile& file : kEffectLoadOrder) {
        if (loadEffect(file.path, file.number)) ++loaded;
    }
    return loaded;
}

bool SoundBank::loadMusic(const char* path, int32_t number) {
    sounds_.erase(number);
    auto tune = std::make_unique<BGM>(mixer_, dataPath(path).c_str());
    if (tune->soundState == kNotLoaded) return false;
    sounds_[number] = std::move(tune);
    return true;
}

SoundObject* SoundBank::find(int32_t number) {
    auto it = sounds_.find(number);
    return it == sounds_.end() ? nullptr : it->second.get();
}

void SoundBank::playSound(int32_t number) {
    SoundObject* sound = find(number);
    if (sound && sound->soundState != kNotLoaded && sound->soundState != kToBeRemoved) {
        sound->soundState = kPlayRequested;
    }
}

void SoundBank::stopSound(int32_t number) {
    SoundObject* sound = find(number);
    if (sound && sound->soundState != kNotLoaded && sound->soundState != kToBeRemoved) {
        sound->soundState = kStopRequested;
    }
}

void SoundBank::unloadSound(int32_t number) {
    if (SoundObject* sound = find(number)) sound->soundState = kToBeRemoved;
}

void SoundBank::setSoundVolume(int32_t number, float v) {
    if (SoundObject* sound = find(number)) sound->setVolume(v);
}

void SoundBank::setAllMusicVolume(float v) {
    for (auto& [number, sound] : sounds_) {
        if (dynamic_cast<BGM*>(sound.get())) sound->setVolume(v);
    }
}

void SoundBank::setAllEffectVolume(float v) {
    for (auto& [number, sound] : sounds_) {
        if (dynamic_cast<SoundEffect*>(sound.get())) sound->setVolume(v);
    }
}

void SoundBank::soundStep() {
    for (auto it = sounds_.begin(); it != sounds_.end();) {
        if (it->second->soundState == kToBeRemoved) {
            it = sounds_.erase(it);
        } else {
            it->second->update();
            ++it;
        }
    }
}

}  // namespace vg::SoundManager
