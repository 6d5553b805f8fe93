#include "tools/render/XScreen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace
{
Display* asDisplay (void* handle) { return static_cast<Display*> (handle); }

// The number of bits a channel mask must be shifted right to bring its top bit to bit 7.
int shiftFor (unsigned long mask)
{
    int highest = 0;
    for (int bit = 0; bit < 32; ++bit)
        if ((mask >> bit) & 1ul)
            highest = bit;
    return highest - 7;
}

std::uint32_t channel (unsigned long pixel, unsigned long mask)
{
    const auto shift = shiftFor (mask);
    const auto value = pixel & mask;
    return static_cast<std::uint32_t> ((shift >= 0 ? value >> shift : value << -shift) & 0xffu);
}
} // namespace

XScreen::XScreen()
    : display (XOpenDisplay (nullptr))
{
}

XScreen::~XScreen()
{
    if (display != nullptr)
        XCloseDisplay (asDisplay (display));
}

void XScreen::createWindowManagerAtoms()
{
    if (display == nullptr)
        return;

    const char* names[] = { "WM_PROTOCOLS",        "WM_DELETE_WINDOW", "WM_STATE",         "_NET_WM_PING",
                            "_MOTIF_WM_HINTS",     "_NET_WM_STATE",    "_NET_WM_NAME",     "_NET_WM_WINDOW_TYPE",
                            "_NET_WM_PID",         "_NET_WM_ICON",     "XdndAware",        "UTF8_STRING" };
    for (const auto* name : names)
        XInternAtom (asDisplay (display), name, False);

    XSync (asDisplay (display), False);
}

void XScreen::movePointerTo (int x, int y)
{
    if (display == nullptr)
        return;

    auto* d = asDisplay (display);
    XTestFakeMotionEvent (d, -1, x, y, CurrentTime);
    XSync (d, False);
}

void XScreen::clickAt (int x, int y)
{
    if (display == nullptr)
        return;

    auto* d = asDisplay (display);
    movePointerTo (x, y);
    XTestFakeButtonEvent (d, 1, True, CurrentTime);
    XTestFakeButtonEvent (d, 1, False, 20);
    XSync (d, False);
}

bool XScreen::pressKey (const std::string& spec)
{
    if (display == nullptr)
        return false;

    auto* d = asDisplay (display);
    std::vector<KeyCode> modifiers;
    std::string rest = spec;

    for (const auto& [prefix, keysym] : { std::pair<std::string, KeySym> { "ctrl+", XK_Control_L },
                                          std::pair<std::string, KeySym> { "shift+", XK_Shift_L },
                                          std::pair<std::string, KeySym> { "alt+", XK_Alt_L } })
        for (auto at = rest.find (prefix); at != std::string::npos; at = rest.find (prefix))
        {
            modifiers.push_back (XKeysymToKeycode (d, keysym));
            rest.erase (at, prefix.size());
        }

    const std::pair<const char*, const char*> names[] = { { "tab", "Tab" },   { "up", "Up" },       { "down", "Down" },
                                                          { "left", "Left" }, { "right", "Right" }, { "space", "space" },
                                                          { "return", "Return" }, { "home", "Home" }, { "end", "End" },
                                                          { "delete", "Delete" } };
    for (const auto& [name, xName] : names)
        if (rest == name)
            rest = xName;

    const auto keysym = XStringToKeysym (rest.c_str());
    const auto keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode (d, keysym);

    if (keycode == 0)
        return false;

    for (const auto modifier : modifiers)
        XTestFakeKeyEvent (d, modifier, True, CurrentTime);
    XTestFakeKeyEvent (d, keycode, True, CurrentTime);
    XTestFakeKeyEvent (d, keycode, False, 20);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
        XTestFakeKeyEvent (d, *modifier, False, CurrentTime);
    XSync (d, False);
    return true;
}

bool XScreen::read (int x, int y, int width, int height, std::vector<std::uint32_t>& pixels, std::string& error)
{
    if (display == nullptr)
    {
        error = "no X display (is DISPLAY set? try xvfb-run)";
        return false;
    }

    auto* d = asDisplay (display);
    const auto screen = DefaultScreen (d);
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > DisplayWidth (d, screen)
        || y + height > DisplayHeight (d, screen))
    {
        error = "the window lies outside the screen";
        return false;
    }

    XSync (d, False);
    auto* image = XGetImage (d, DefaultRootWindow (d), x, y, static_cast<unsigned> (width),
                             static_cast<unsigned> (height), AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        error = "the X server refused to read the screen";
        return false;
    }

    const auto trueColour = image->red_mask != 0 && image->green_mask != 0 && image->blue_mask != 0;
    if (trueColour)
    {
        pixels.resize (static_cast<size_t> (width) * static_cast<size_t> (height));
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column)
            {
                const auto pixel = XGetPixel (image, column, row);
                pixels[static_cast<size_t> (row * width + column)] =
                    0xff000000u | (channel (pixel, image->red_mask) << 16) | (channel (pixel, image->green_mask) << 8)
                    | channel (pixel, image->blue_mask);
            }
    }
    else
    {
        error = "the screen is not a true-colour visual";
    }

    XDestroyImage (image);
    return trueColour;
}
