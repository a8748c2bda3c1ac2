#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vg {

class DIB;

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// What the window tells the frame loop. Keys carry Windows virtual-key codes, the same codes the
// key assignments are stored in.
struct WindowEvent {
    enum class Kind {
        KeyDown,           // a key went down without Alt
        SystemKeyDown,     // a key went down with Alt held (Alt+Enter, Alt+F4)
        ActivationLost,    // another window became active
        ActivationGained,  // the game's window became active again
        CloseRequested,    // close box or the window manager's close
        Maximize,          // the maximise button
    };
    Kind kind = Kind::KeyDown;
    int virtualKey = 0;
};

// The one game window: shows the 512 x 384 screen surface as large as its client area allows
// at its 4:3 shape, centred on black, switches between a window and full screen, and reports
// events.
class GameWindow {
  public:
    virtual ~GameWindow() = default;

    // Takes the next pending event; false when none is waiting.
    virtual bool pollEvent(WindowEvent& event) = 0;
    // False while another window has the input focus or the window is minimised.
    virtual bool isActive() const = 0;
    // Copies `screen` (0xAARRGGBB, rows bottom-up, high byte ignored) to the client area: scaled
    // to the largest size of the screen's shape that fits, centred, the rest black.
    virtual void present(const DIB& screen) = 0;

    virtual Size clientSize() const = 0;
    // Resizes the client area of the (windowed) window, keeping its position where the whole
    // window still fits on its display and moving it just enough to fit otherwise.
    virtual void setClientSize(Size size) = 0;
    // Places the window centred on the desktop.
    virtual void centre() = 0;

    // Covers the whole display the window is on, borderless and without cursor, at the display's
    // current resolution (the display mode is never changed). False, with nothing changed, when
    // the window cannot go full screen.
    virtual bool enterFullScreen() = 0;
    // Back to the window at the position and size it had before, cursor shown.
    virtual void leaveFullScreen() = 0;
    virtual bool isFullScreen() const = 0;

    virtual void hide() = 0;
};

// Shown when the game cannot start: on standard error always, and in a message box where there
// is a display to show one on.
void showMessageBox(const std::string& title, const std::string& text);
// Debug lines for the developer (stderr).
void debugOutput(const char* text);

}  // namespace vg
