#include "ui/VelbriVuArc.h"

#include "ui/MeterAccessibility.h"

#include "ui/Palette.h"
#include "ui/VelbriFontOptions.h"

#include <cmath>

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;
constexpr float halfPi = juce::MathConstants<float>::halfPi;
constexpr float lowestDb = -36.0f;
constexpr float spanDb = 39.0f;
constexpr float hotZoneStart = 0.7f * pi - halfPi; // the needle's angle at -8.7 dB

const juce::Colour faceColour { 0xff030304 };
const juce::Colour trackColour { 0xff232635 };
} // namespace

VelbriVuArc::VelbriVuArc()
{
    setInterceptsMouseClicks (false, false);
}

void VelbriVuArc::setLevelDb (float newLevelDb)
{
    const auto changesPicture = needleProportionFor (newLevelDb) != needleProportionFor (levelDb);
    levelDb = newLevelDb;

    if (changesPicture)
        repaint();
}

// Where the needle stands, 0 (hard left) to 1 (hard right); levels beyond the scale pin it.
float VelbriVuArc::needleProportionFor (float level)
{
    return juce::jlimit (0.0f, 1.0f, (level - lowestDb) / spanDb);
}

// The pivot sits 6 + 0.85 (h - 12) below the top, whatever limits the radius, so a tall, narrow
// arc keeps its pivot low and leaves empty face above.
VelbriVuArc::Geometry VelbriVuArc::geometryFor (juce::Rectangle<float> b)
{
    const auto usableHeight = juce::jmax (b.getHeight() - 12.0f, 0.0f);
    const auto pivotDrop = usableHeight - juce::jmin (usableHeight, 0.15f * usableHeight);
    const auto halfWidth = juce::jmax (b.getWidth() - 16.0f, 0.0f) / 2.0f;
    return { b.getX() + 8.0f + halfWidth, b.getY() + 6.0f + pivotDrop, juce::jmin (pivotDrop, halfWidth) };
}

void VelbriVuArc::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto geometry = geometryFor (bounds);

    paintFace (g, bounds);
    strokeArc (g, geometry, -halfPi, halfPi, trackColour);
    strokeArc (g, geometry, -halfPi, hotZoneStart, Palette::accentGlow);
    strokeArc (g, geometry, hotZoneStart, halfPi, Palette::alert);
    paintNeedle (g, geometry);
    paintLegend (g, bounds);
}

void VelbriVuArc::paintFace (juce::Graphics& g, juce::Rectangle<float> bounds)
{
    g.setColour (faceColour);
    g.fillRoundedRectangle (bounds, 6.0f);
    g.setColour (juce::Colours::black);
    g.drawRoundedRectangle (bounds.reduced (0.5f), 6.0f, 1.0f);
}

void VelbriVuArc::strokeArc (juce::Graphics& g, const Geometry& geometry, float fromAngle, float toAngle,
                             juce::Colour colour)
{
    juce::Path arc;
    arc.addCentredArc (geometry.cx, geometry.cy, geometry.radius, geometry.radius, 0.0f, fromAngle, toAngle, true);
    g.setColour (colour);
    g.strokePath (arc, juce::PathStrokeType (5.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

void VelbriVuArc::paintNeedle (juce::Graphics& g, const Geometry& geometry) const
{
    const auto proportion = needleProportionFor (levelDb);
    const auto angle = proportion * pi - halfPi;
    const auto reach = 0.92f * geometry.radius;

    g.setColour (Palette::textPrimary);
    g.drawLine (geometry.cx, geometry.cy, geometry.cx + reach * std::sin (angle), geometry.cy - reach * std::cos (angle),
                2.0f);
    g.fillEllipse (geometry.cx - 2.0f, geometry.cy - 2.0f, 4.0f, 4.0f);
}

void VelbriVuArc::paintLegend (juce::Graphics& g, juce::Rectangle<float> bounds)
{
    const auto legendHeight = juce::jmin (bounds.getHeight(), 14.0f);
    g.setColour (Palette::textMuted);
    g.setFont (VelbriFontOptions (11.0f).toFont().withExtraKerningFactor (0.1f));
    g.drawText ("VU", bounds.withTop (bounds.getBottom() - legendHeight), juce::Justification::centred, true);
}

std::unique_ptr<juce::AccessibilityHandler> VelbriVuArc::createAccessibilityHandler()
{
    return std::make_unique<MeterAccessibility> (*this, juce::Range<double> (-100.0, 6.0),
                                                 [this] { return (double) levelDb; },
                                                 [this] { return spokenLevel (levelDb); });
}
