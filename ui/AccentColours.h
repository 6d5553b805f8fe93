#pragma once

#include <juce_graphics/juce_graphics.h>

// The three accent colours a look and feel installs into the palette when it is constructed.
struct AccentColours
{
    juce::Colour glow;
    juce::Colour accent;
    juce::Colour accentBright;
};
