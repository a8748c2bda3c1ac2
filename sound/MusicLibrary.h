#pragma once

#include <cstdint>
#include <memory>

#include "sound/Mixer.h"

namespace vg {

// One tune of the music library: an Ogg Vorbis file decoded while it plays, on the audio
// thread, a few thousand frames at a time. Every call is made from the game thread.
class Vox {
  public:
    // setLoop mode: loop for ever, from the file's LOOPSTART comment (in samples) when it has
    // a valid one, else from the start. Any other mode plays the tune once.
    static constexpr int32_t kLoopForever = 999;

    Vox(const Vox&) = delete;
    Vox& operator=(const Vox&) = delete;
    // Releases the tune.
    ~Vox();

    // False when no device plays, or the file is missing or not Ogg Vorbis. Replaces a tune
    // opened before. The tune is stopped, at the start, at full volume, played once.
    bool open(const char* path);
    void play();
    // Pauses where it is; play continues from there.
    void stop();
    void setLoop(int32_t mode);
    // 0..1 (clamped; not a number is 0); ends a fade.
    void setVolume(float volume);
    // Jumps to `from` and moves linearly to `to` over `milliseconds`; a fade that ends at 0
    // stops the tune.
    void fade(float from, float to, int32_t milliseconds);
    // Seconds from the start, clamped to the tune; takes effect at the next mixed block.
    void setPosition(float seconds);
    // Closes the file; every later call but open does nothing.
    void release();

    bool isOpen() const { return stream_ != nullptr; }
    bool isPlaying() const;
    float volume() const;
    // The loop start in samples (0 when the file has none).
    int64_t loopStart() const;

  private:
    friend class MusicLibrary;
    explicit Vox(Mixer& output);

    class Stream;
    Mixer& output_;
    std::unique_ptr<Stream> stream_;
};

// The music library: created on first use and kept for the rest of the run.
class MusicLibrary {
  public:
    // Null when it cannot start.
    static MusicLibrary* load();
    // A closed tune that plays into `output`; null when out of memory.
    std::unique_ptr<Vox> createVox(Mixer& output);

  private:
    MusicLibrary() = default;
};

}  // namespace vg
