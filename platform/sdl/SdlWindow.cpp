#include "platform/sdl/SdlWindow.h"

#include <cstdint>
#include <cstring>

#include "platform/KeyboardMap.h"
#include "platform/WindowPlacement.h"
#include "resources/DIB.h"

namespace vg::sdl {

std::unique_ptr<SdlWindow> SdlWindow::create(const std::string& title, Size surfaceSize,
                                             int scale) {
    std::unique_ptr<SdlWindow> self(new SdlWindow());
    // The game paces itself; the window must never block on the display's refresh.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // Leaving full screen when focus is lost is the game's own decision, not SDL's.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    self->video_ = std::make_unique<SubsystemGuard>(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (!self->video_->ok()) return nullptr;

    scale = scale == 2 ? 2 : 1;
    self->window_.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                         SDL_WINDOWPOS_CENTERED, surfaceSize.width * scale,
                                         surfaceSize.height * scale, SDL_WINDOW_SHOWN));
    if (!self->window_) return nullptr;
    // A double-size window on a small display starts at its top-left rather than hanging off.
    self->keepOnDisplay();
    self->renderer_.reset(SDL_CreateRenderer(self->window_.get(), -1, 0));
    if (!self->renderer_) {
        self->renderer_.reset(SDL_CreateRenderer(self->window_.get(), -1, SDL_RENDERER_SOFTWARE));
    }
    if (!self->renderer_) return nullptr;
    self->texture_.reset(SDL_CreateTexture(self->renderer_.get(), SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, surfaceSize.width,
                                           surfaceSize.height));
    if (!self->texture_) return nullptr;
    self->textureSize_ = surfaceSize;

    // Screen saver and display power-down stay off while the game runs; text input (and with it
    // any input-method composition) is never wanted.
    SDL_DisableScreenSaver();
    SDL_StopTextInput();
    return self;
}

std::string SdlWindow::lastError() {
    return SDL_GetError();
}

SdlWindow::~SdlWindow() {
    if (fullScreen_) leaveFullScreen();
}

bool SdlWindow::pollEvent(WindowEvent& event) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                event.kind = WindowEvent::Kind::CloseRequested;
                return true;
            case SDL_KEYDOWN: {
                if (e.key.repeat) break;
                const int key = virtualKeyForUsage(static_cast<uint32_t>(e.key.keysym.scancode));
                if (key == 0) break;
                event.kind = (e.key.keysym.mod & KMOD_ALT) ? WindowEvent::Kind::SystemKeyDown
                                                           : WindowEvent::Kind::KeyDown;
                event.virtualKey = key;
                return true;
            }
            case SDL_WINDOWEVENT:
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                    case SDL_WINDOWEVENT_MINIMIZED:
                        if (!active_) break;
                        active_ = false;
                        event.kind = WindowEvent::Kind::ActivationLost;
                        return true;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                    case SDL_WINDOWEVENT_RESTORED:
                        if (active_) break;
                        active_ = true;
                        event.kind = WindowEvent::Kind::ActivationGained;
                        return true;
                    case SDL_WINDOWEVENT_MAXIMIZED:
                        // Maximising means full screen: undo the window manager's maximise
                        // first so that leaving full screen finds the normal window again.
                        SDL_RestoreWindow(window_.get());
                        event.kind = WindowEvent::Kind::Maximize;
                        return true;
                    case SDL_WINDOWEVENT_CLOSE:
                        event.kind = WindowEvent::Kind::CloseRequested;
                        return true;
                    default:
                        break;
                }
                break;
            default:
                break;
        }
    }
    return false;
}

void SdlWindow::present(const DIB& screen) {
    if (screen.empty()) return;
    if (screen.width != textureSize_.width || screen.height != textureSize_.height) return;
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_.get(), nullptr, &target, &pitch) != 0) return;
    // The surface keeps its rows bottom-up; the texture wants them top-down.
    auto* bytes = static_cast<uint8_t*>(target);
    const size_t rowBytes = static_cast<size_t>(screen.width) * 4;
    for (int y = 0; y < screen.height; ++y) {
        std::memcpy(bytes + static_cast<size_t>(y) * pitch, screen.row(y), rowBytes);
    }
    SDL_UnlockTexture(texture_.get());
    Size output;
    if (SDL_GetRendererOutputSize(renderer_.get(), &output.width, &output.height) != 0) return;
    const Rect fit = fitPicture(textureSize_, output);
    const SDL_Rect area{fit.x, fit.y, fit.width, fit.height};
    // Black around the picture where the display's shape differs from 4:3.
    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer_.get());
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &area);
    SDL_RenderPresent(renderer_.get());
}

Size SdlWindow::clientSize() const {
    Size size;
    SDL_GetWindowSize(window_.get(), &size.width, &size.height);
    return size;
}

Rect SdlWindow::clientRect() const {
    Rect rect;
    SDL_GetWindowPosition(window_.get(), &rect.x, &rect.y);
    SDL_GetWindowSize(window_.get(), &rect.width, &rect.height);
    return rect;
}

void SdlWindow::setClientSize(Size size) {
    SDL_SetWindowSize(window_.get(), size.width, size.height);
    keepOnDisplay();
    SDL_ShowWindow(window_.get());
}

void SdlWindow::keepOnDisplay() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(displayIndex(), &usable) != 0) return;
    // The frame the window manager adds; unknown (no window manager, not yet shown) counts as
    // none. SDL's window position is the frame's top-left corner under a window manager (as
    // measured with X11), so the frame only adds to the size.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window_.get(), &top, &left, &bottom, &right) != 0) {
        top = left = bottom = right = 0;
    }
    const Rect client = clientRect();
    const Rect outer{client.x, client.y, client.width + left + right, client.height + top + bottom};
    const Rect placed = placeOnDisplay(outer, {usable.x, usable.y, usable.w, usable.h});
    if (placed == outer) return;
    SDL_SetWindowPosition(window_.get(), placed.x, placed.y);
}

void SdlWindow::centre() {
    SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex()),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex()));
}

int SdlWindow::displayIndex() const {
    const int index = SDL_GetWindowDisplayIndex(window_.get());
    return index < 0 ? 0 : index;
}

bool SdlWindow::enterFullScreen() {
    if (fullScreen_) return true;
    SDL_GetWindowPosition(window_.get(), &windowedRect_.x, &windowedRect_.y);
    SDL_GetWindowSize(window_.get(), &windowedRect_.w, &windowedRect_.h);
    // The desktop's own resolution: no display-mode change, present() scales the picture.
    if (SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    fullScreen_ = true;
    SDL_ShowWindow(window_.get());
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

void SdlWindow::leaveFullScreen() {
    if (!fullScreen_) return;
    SDL_SetWindowFullscreen(window_.get(), 0);
    fullScreen_ = false;
    SDL_SetWindowSize(window_.get(), windowedRect_.w, windowedRect_.h);
    SDL_SetWindowPosition(window_.get(), windowedRect_.x, windowedRect_.y);
    SDL_ShowWindow(window_.get());
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlWindow::hide() {
    SDL_HideWindow(window_.get());
}

}  // namespace vg::sdl
