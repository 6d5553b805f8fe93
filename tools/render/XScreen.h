#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A connection of our own to the X server the editor is shown on, kept apart from JUCE (Xlib's
// macros clash with JUCE names). The plug-in's window is a separate X window embedded in the
// host's, so the host cannot paint it into an image: the pixels are read back from the screen.
class XScreen
{
public:
    XScreen();
    ~XScreen();

    XScreen (const XScreen&) = delete;
    XScreen& operator= (const XScreen&) = delete;

    bool isOpen() const noexcept { return display != nullptr; }

    // On a fresh server without a window manager, some window-manager atoms do not exist yet and
    // JUCE (which only looks them up) then fails creating a window. Creating them first avoids it.
    void createWindowManagerAtoms();

    // Moves the pointer, as a user's mouse would (hover looks, tooltips).
    void movePointerTo (int x, int y);

    // Presses and releases the left button at a point of the screen.
    void clickAt (int x, int y);

    // Presses and releases a key with its modifiers, as "ctrl+z", "ctrl+shift+z", "shift+tab",
    // "tab", "up", "space" (X key names after the modifiers). False for a name X does not know.
    bool pressKey (const std::string& spec);

    // Reads an area of the screen as 0xAARRGGBB pixels, row by row. False (with a reason) when the
    // area is off the screen or the visual is not a true-colour one.
    bool read (int x, int y, int width, int height, std::vector<std::uint32_t>& pixels, std::string& error);

private:
    void* display = nullptr;
};
