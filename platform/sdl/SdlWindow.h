#pragma once

#include <memory>
#include <string>

#include "platform/Window.h"
#include "platform/sdl/SdlHandles.h"

namespace vg::sdl {

// The game window over SDL: a streaming texture the size of the screen surface, stretched onto
// the whole client area by SDL's renderer on every present.
class SdlWindow final : public GameWindow {
  public:
    // Null when SDL's video cannot start or the window cannot be made.
    static std::unique_ptr<SdlWindow> create(const std::string& title, Size surfaceSize);
    ~SdlWindow() override;

    bool pollEvent(WindowEvent& event) override;
    bool isActive() const override { return active_; }
    void present(const DIB& screen) override;

    Size clientSize() const override;
    void setClientSize(Size size) override;
    void centre() override;

    std::vector<Size> displayModes() const override;
    Size currentDisplayMode() const override;
    bool enterFullScreen(Size mode) override;
    void leaveFullScreen() override;
    bool isFullScreen() const override { return fullScreen_; }

    void hide() override;

  private:
    SdlWindow() = default;
    int displayIndex() const;

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
