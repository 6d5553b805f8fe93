#pragma once

#include <juce_graphics/juce_graphics.h>

// The font description the look and feel and the widgets build their fonts from: a typeface when
// one was loaded, the framework's default sans-serif otherwise, at a height that is the font's
// total height in pixels. Fonts are made afresh from it; nothing is cached.
struct VelbriFontOptions
{
    VelbriFontOptions() = default;

    explicit VelbriFontOptions (float heightInPixels)
        : height (heightInPixels)
    {
    }

    VelbriFontOptions withHeight (float newHeight) const
    {
        auto copy = *this;
        copy.height = newHeight;
        return copy;
    }

    VelbriFontOptions withTypeface (juce::Typeface::Ptr newTypeface) const
    {
        auto copy = *this;
        copy.typeface = std::move (newTypeface);
        return copy;
    }

    // A typeface that failed to load still exists but has no name; it counts as missing.
    static bool isLoaded (const juce::Typeface::Ptr& candidate)
    {
        return candidate != nullptr && candidate->getName().isNotEmpty();
    }

    juce::Font toFont() const
    {
        return isLoaded (typeface) ? juce::Font (typeface).withHeight (height) : juce::Font (height);
    }

    float height = 14.0f;
    juce::Typeface::Ptr typeface;
};
