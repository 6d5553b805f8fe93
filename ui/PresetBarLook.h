#pragma once

#include <juce_graphics/juce_graphics.h>

// What the header's preset bar shows, and where its three parts lie: the look and feel draws from
// the same geometry that the bar hit-tests with.
struct PresetBarLook
{
    juce::String name;    // the current preset's name ("Default" when none was loaded)
    bool edited = false;  // the sound has changed since the preset was loaded
    juce::String message; // shown instead of the name, in the alert colour, when not empty
    int hoveredPart = 0;  // 0 none, 1 previous arrow, 2 name, 3 next arrow
};

struct PresetBarParts
{
    juce::Rectangle<int> previous, name, next;

    // Square arrow cells at both ends, the name between them.
    static PresetBarParts of (juce::Rectangle<int> bounds)
    {
        PresetBarParts parts;
        const auto arrowWidth = juce::jmin (bounds.getHeight(), bounds.getWidth() / 3);
        parts.previous = bounds.removeFromLeft (arrowWidth);
        parts.next = bounds.removeFromRight (arrowWidth);
        parts.name = bounds;
        return parts;
    }
};
