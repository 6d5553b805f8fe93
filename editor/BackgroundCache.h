#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// A picture of what never changes between resizes, drawn once into an image at the display's
// pixel scale and blitted on every paint after that. It is redrawn when the size it is asked for
// or the scale of the graphics it is blitted into changes, or after invalidate().
class BackgroundCache
{
public:
    using Painter = std::function<void (juce::Graphics&)>;

    void draw (juce::Graphics& g, juce::Rectangle<int> bounds, const Painter& paintStaticParts);
    void invalidate() noexcept { image = {}; }

    const juce::Image& getImage() const noexcept { return image; }
    float getScale() const noexcept { return scale; }
    int getRebuildCount() const noexcept { return rebuilds; }

private:
    bool fits (juce::Rectangle<int> bounds, float newScale) const;
    void rebuild (juce::Rectangle<int> bounds, float newScale, const Painter& paintStaticParts);

    // The picture as drawn (with its see-through corners), an opaque copy for the part that
    // covers everything under it, and the two areas, in the component's coordinates.
    juce::Image image;
    juce::Image opaqueImage;
    juce::RectangleList<int> opaqueArea, translucentArea;
    float scale = 1.0f;
    int rebuilds = 0;
};
