#include "editor/BackgroundCache.h"

#include <cmath>

namespace
{
int scaled (int length, float scale)
{
    return juce::jmax (1, static_cast<int> (std::ceil (static_cast<float> (length) * scale)));
}

// Each row's longest run of fully opaque pixels (whole rows merge into one rectangle).
juce::RectangleList<int> opaqueRuns (const juce::Image& image)
{
    juce::RectangleList<int> runs;
    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < image.getHeight(); ++y)
    {
        int runStart = -1, bestStart = 0, bestLength = 0;
        for (int x = 0; x <= image.getWidth(); ++x)
        {
            const auto opaque = x < image.getWidth() && pixels.getPixelColour (x, y).getAlpha() == 255;
            if (opaque && runStart < 0)
                runStart = x;
            if (! opaque && runStart >= 0)
            {
                if (x - runStart > bestLength)
                {
                    bestStart = runStart;
                    bestLength = x - runStart;
                }
                runStart = -1;
            }
        }
        runs.addWithoutMerging ({ bestStart, y, bestLength, 1 });
    }

    runs.consolidate();
    return runs;
}
} // namespace

void BackgroundCache::draw (juce::Graphics& g, juce::Rectangle<int> bounds, const Painter& paintStaticParts)
{
    if (bounds.isEmpty())
        return;

    const auto newScale = juce::jmax (0.01f, g.getInternalContext().getPhysicalPixelScaleFactor());

    if (! fits (bounds, newScale))
        rebuild (bounds, newScale, paintStaticParts);

    if (scale != 1.0f)
    {
        // One image pixel per physical pixel.
        g.drawImageTransformed (image, juce::AffineTransform::scale (1.0f / scale).translated (bounds.getPosition()));
        return;
    }

    // Pixel for pixel: the opaque body is a plain copy, only the see-through rest is blended.
    {
        const juce::Graphics::ScopedSaveState state (g);
        if (g.reduceClipRegion (opaqueArea))
            g.drawImageAt (opaqueImage, bounds.getX(), bounds.getY());
    }

    const juce::Graphics::ScopedSaveState state (g);
    if (g.reduceClipRegion (translucentArea))
        g.drawImageAt (image, bounds.getX(), bounds.getY());
}

bool BackgroundCache::fits (juce::Rectangle<int> bounds, float newScale) const
{
    return image.isValid() && scale == newScale && image.getWidth() == scaled (bounds.getWidth(), newScale)
           && image.getHeight() == scaled (bounds.getHeight(), newScale);
}

void BackgroundCache::rebuild (juce::Rectangle<int> bounds, float newScale, const Painter& paintStaticParts)
{
    scale = newScale;
    image = juce::Image (juce::Image::ARGB, scaled (bounds.getWidth(), scale), scaled (bounds.getHeight(), scale), true);

    {
        juce::Graphics cacheGraphics (image);
        cacheGraphics.addTransform (juce::AffineTransform::translation (-bounds.getPosition().toFloat()).scaled (scale));
        paintStaticParts (cacheGraphics);
    }

    opaqueImage = image.convertedToFormat (juce::Image::RGB);
    opaqueArea = opaqueRuns (image);
    translucentArea = juce::RectangleList<int> (image.getBounds());
    translucentArea.subtract (opaqueArea);
    opaqueArea.offsetAll (bounds.getPosition());
    translucentArea.offsetAll (bounds.getPosition());
    ++rebuilds;
}
