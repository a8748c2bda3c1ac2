#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// The one game window: shows the 512 x 384 screen surface stretched to the whole client area,
// switches between a window and full screen, and reports events.
class GameWindow {
  public:
    virtual ~GameWindow() = default;

    // Takes the next pending event; false when none is waiting.
    virtual bool pollEvent(WindowEvent& event) = 0;
    // False while another window has the input focus or the window is minimised.
    virtual bool isActive() const = 0;
    // Copies `screen` (0xAARRGGBB, rows bottom-up, high byte ignored) to the whole client area.
    virtual void present(const DIB& screen) = 0;

    virtual Size clientSize() const = 0;
    // Resizes the client area of the (windowed) window, keeping its position.
    virtual void setClientSize(Size size) = 0;
    // Places the window centred on the desktop.
    virtual void centre() = 0;

    // Display modes of the window's screen: every mode, and the one in force now.
    virtual std::vector<Size> displayModes() const = 0;
    virtual Size currentDisplayMode() const = 0;
    // Switches the screen to `mode` and covers it with the window, borderless, without cursor.
    // False, with nothing changed, when the mode cannot be set.
    virtual bool enterFullScreen(Size mode) = 0;
    // Restores the desktop mode and the window's earlier position and size, cursor shown.
    virtual void leaveFullScreen() = 0;
    virtual bool isFullScreen() const = 0;

    virtual void hide() = 0;
};

// Shown when the game cannot start; on the console when there is no display.
void showMessageBox(const std::string& title, const std::string& text);
// Debug lines for the developer (stderr).
void debugOutput(const char* text);

}  // namespace vg
