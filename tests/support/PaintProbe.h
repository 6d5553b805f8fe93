#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <cstdlib>

// Paints components offscreen and reads pixels back, so drawing can be checked without a display.
namespace paintprobe
{
// The component (and its children) painted over an opaque background, at its own size.
inline juce::Image paint (juce::Component& component, juce::Colour background = juce::Colours::black)
{
    juce::Image image (juce::Image::RGB, juce::jmax (component.getWidth(), 1), juce::jmax (component.getHeight(), 1),
                       true);
    juce::Graphics g (image);
    g.fillAll (background);
    component.paintEntireComponent (g, false);
    return image;
}

// An empty opaque canvas to paint into directly.
inline juce::Image canvas (int width, int height, juce::Colour background = juce::Colours::black)
{
    juce::Image image (juce::Image::RGB, width, height, true);
    juce::Graphics (image).fillAll (background);
    return image;
}

// The largest difference of the red, green and blue bytes.
inline int distance (juce::Colour a, juce::Colour b)
{
    return std::max ({ std::abs ((int) a.getRed() - (int) b.getRed()),
                       std::abs ((int) a.getGreen() - (int) b.getGreen()),
                       std::abs ((int) a.getBlue() - (int) b.getBlue()) });
}

// What a colour with alpha looks like once painted over an opaque background.
inline juce::Colour over (juce::Colour background, juce::Colour paint)
{
    return background.overlaidWith (paint);
}

// How many pixels of `area` differ between two images of the same size by more than `tolerance`.
inline int countDifferences (const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area, int tolerance = 2)
{
    int count = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (distance (a.getPixelAt (x, y), b.getPixelAt (x, y)) > tolerance)
                ++count;
    return count;
}
} // namespace paintprobe
