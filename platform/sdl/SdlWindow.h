#pragma once

#include <memory>
#include <string>

#include "platform/Window.h"
#include "platform/WindowPlacement.h"
#include "platform/sdl/SdlHandles.h"

namespace vg::sdl {

// The game window over SDL: a streaming texture the size of the screen surface, scaled by SDL's
// renderer on every present to the largest 4:3 rectangle of the client area, centred on black.
// Full screen is SDL's desktop full screen: a borderless window over the whole display at its
// current resolution.
class SdlWindow final : public GameWindow {
  public:
    // Null when SDL's video cannot start or the window cannot be made. The window's client area
    // is the surface size times `scale` (1 or 2).
    static std::unique_ptr<SdlWindow> create(const std::string& title, Size surfaceSize,
                                             int scale = 1);
    // Why the last window call failed, in SDL's words.
    static std::string lastError();
    ~SdlWindow() override;

    bool pollEvent(WindowEvent& event) override;
    bool isActive() const override { return active_; }
    void present(const DIB& screen) override;

    Size clientSize() const override;
    // The client area's place and size on the desktop.
    Rect clientRect() const;
    void setClientSize(Size size) override;
    void centre() override;

    bool enterFullScreen() override;
    void leaveFullScreen() override;
    bool isFullScreen() const override { return fullScreen_; }

    void hide() override;

  private:
    SdlWindow() = default;
    int displayIndex() const;
    // Moves the window by the least that puts its whole frame on the display's usable area.
    void keepOnDisplay();

    std::unique_ptr<SubsystemGuard> video_;
    WindowPtr window_;
    RendererPtr renderer_;
    TexturePtr texture_;
    Size textureSize_;
    bool active_ = true;
    bool fullScreen_ = false;
    SDL_Rect windowedRect_{};
};

}  // namespace vg::sdl
