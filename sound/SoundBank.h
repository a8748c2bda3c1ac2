#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "platform/AudioDevice.h"
#include "sound/EffectLibrary.h"
#include "sound/Mixer.h"
#include "sound/MusicLibrary.h"

namespace vg::SoundManager {

// Sound numbers: effects 0..22, music 23..26.
enum SoundNumber : int32_t {
    kSoundDamage = 0,
    kSoundShot = 1,
    kSoundShot2 = 2,
    kSoundLaser = 3,
    kSoundLaser2 = 4,
    kSoundEnergy = 5,
    kSoundCrystal = 6,
    kSoundKill = 7,
    kSoundKill2 = 8,
    kSoundGraze = 9,
    kSoundDead = 10,
    kSoundItem = 11,
    kSoundBomb = 12,
    kSoundExtend = 13,
    kSoundWarning = 14,
    kSoundEject = 15,
    kSoundCharge = 16,
    kSoundChargeShot = 17,
    kSoundBossKill = 18,
    kSoundSelect = 19,
    kSoundOk = 20,
    kSoundCancel = 21,
    kSoundPause = 22,
    kMusicTitle = 23,
    kMusicStage = 24,  // the stages and the ending
    kMusicBoss = 25,
    kMusicGameOver = 26,
};

struct EffectFile {
    int32_t number;
    const char* path;
};
// The effects in the order they are loaded at start-up.
extern const std::array<EffectFile, 23> kEffectLoadOrder;

// States of a sound object. Requests only set a state; SoundBank::soundStep carries them out.
enum SoundState : int32_t {
    kNotLoaded = 0,  // a failed load; never kept in the bank
    kIdle = 1,
    kPlayRequested = 2,
    kPlaying = 3,  // music only: effects go back to idle once started
    kStopRequested = 4,
    kToBeRemoved = 5,
};

class SoundObject {
  public:
    virtual ~SoundObject() = default;
    virtual void update() {}
    virtual void setVolume(float) {}

    int32_t soundState = kNotLoaded;
};

// A WAV effect. Its volume is in hundredths of a decibel (0 full, -10000 silent).
class SoundEffect : public SoundObject {
  public:
    SoundEffect(EffectLibrary& library, const char* path);
    ~SoundEffect() override;
    void update() override;
    // v from 0 (silent; also stops the effect) to 1 (full).
    void setVolume(float v) override;

    WaveHandle handle = 0;
    int32_t volume = -1000;

  private:
    EffectLibrary& library_;
};

// An Ogg tune. Its volume is 0..1; a stopped tune fades out over a second and keeps volume 0
// until its volume is set again.
class BGM : public SoundObject {
  public:
    BGM(Mixer& output, const char* path);
    ~BGM() override;
    void update() override;
    void setVolume(float v) override;

    std::unique_ptr<Vox> vox;
    float volume = 1.0f;
};

// The numbered table of every sound. Game code loads a file under a number once, then asks
// for the number to be played, stopped or unloaded; numbers not in the bank are ignored.
// Everything here runs on the game thread; the device pulls from mixer() on its own.
class SoundBank {
  public:
    // Silent until init.
    SoundBank() = default;
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;
    // Deletes every sound in number order, ends the effect library, then closes the device.
    ~SoundBank();

    // Takes the device that pulls from mixer() and starts the effect library on it. Returns
    // whether effects can load (false for a closed or missing device: the game runs silently).
    bool init(std::unique_ptr<AudioDevice> device);
    bool effectsReady() const { return effectsReady_; }
    Mixer& mixer() { return mixer_; }

    bool loadEffect(const char* path, int32_t number);
    // Every effect of kEffectLoadOrder; returns how many loaded.
    int loadEffects();
    // Loading does not apply the music volume: the caller sets it, then plays.
    bool loadMusic(const char* path, int32_t number);
    void playSound(int32_t number);
    void stopSound(int32_t number);
    void unloadSound(int32_t number);
    void setSoundVolume(int32_t number, float v);
    // Every tune, respectively every effect, gets the volume.
    void setAllMusicVolume(float v);
    void setAllEffectVolume(float v);
    // Called on odd frames: removes sounds to be removed, updates the rest, in number order.
    void soundStep();

    // The object under a number, or null.
    SoundObject* find(int32_t number);
    EffectLibrary& effects() { return effects_; }

  private:
    // Declared first so it goes last: the libraries and the device refer to it.
    Mixer mixer_;
    EffectLibrary effects_{mixer_};
    std::unique_ptr<AudioDevice> device_;
    std::map<int32_t, std::unique_ptr<SoundObject>> sounds_;
    bool effectsReady_ = false;
};

}  // namespace vg::SoundManager
