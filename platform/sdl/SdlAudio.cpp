#include "platform/sdl/SdlAudio.h"

#include <SDL.h>

#include <cstring>

#include "platform/sdl/SdlHandles.h"

namespace vg {
namespace {

// 512 frames: about 12 ms at 44 100 Hz.
constexpr Uint16 kBufferFrames = 512;

class SdlAudioDevice final : public AudioDevice {
  public:
    explicit SdlAudioDevice(AudioSource& source) : subsystem_(SDL_INIT_AUDIO), source_(source) {}
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    ~SdlAudioDevice() override {
        // Closing waits for a callback in progress, so the source is free after this.
        if (device_ != 0) SDL_CloseAudioDevice(device_);
    }

    bool open() {
        if (!subsystem_.ok()) return false;
        // The dummy driver accepts the device but plays nothing: treat it as no device.
        const char* driver = SDL_GetCurrentAudioDriver();
        if (driver == nullptr || std::strcmp(driver, "dummy") == 0) return false;
        SDL_AudioSpec want{};
        want.freq = kSampleRate;
        want.format = AUDIO_S16SYS;
        want.channels = kChannels;
        want.samples = kBufferFrames;
        want.callback = &SdlAudioDevice::pull;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No allowed changes: SDL converts to the card's format itself.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0) return false;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    bool isOpen() const override { return device_ != 0; }

  private:
    static void SDLCALL pull(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<SdlAudioDevice*>(userdata);
        const int frames = length / static_cast<int>(sizeof(int16_t) * kChannels);
        self->source_.render(reinterpret_cast<int16_t*>(stream), frames);
    }

    sdl::SubsystemGuard subsystem_;
    AudioSource& source_;
    SDL_AudioDeviceID device_ = 0;
};

}  // namespace

std::unique_ptr<AudioDevice> openSdlAudioDevice(AudioSource& source) {
    auto device = std::make_unique<SdlAudioDevice>(source);
    if (!device->open()) return std::make_unique<NullAudioDevice>();
    return device;
}

}  // namespace vg
