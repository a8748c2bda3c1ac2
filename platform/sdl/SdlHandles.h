#pragma once

#include <SDL.h>

#include <memory>

namespace vg::sdl {

// Each SDL handle is owned once, by a unique_ptr with SDL's own destroy call.
struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct RendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
};
struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};
struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
struct JoystickDeleter {
    void operator()(SDL_Joystick* j) const { SDL_JoystickClose(j); }
};

using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
using JoystickPtr = std::unique_ptr<SDL_Joystick, JoystickDeleter>;

// One SDL subsystem held for the lifetime of the object (SDL counts the inits).
class SubsystemGuard {
  public:
    explicit SubsystemGuard(Uint32 flags) : flags_(SDL_InitSubSystem(flags) == 0 ? flags : 0) {}
    SubsystemGuard(const SubsystemGuard&) = delete;
    SubsystemGuard& operator=(const SubsystemGuard&) = delete;
    ~SubsystemGuard() {
        if (flags_) SDL_QuitSubSystem(flags_);
    }
    bool ok() const { return flags_ != 0; }

  private:
    Uint32 flags_;
};

}  // namespace vg::sdl
