#include "ui/VelbriLadderMeter.h"

#include "ui/MeterAccessibility.h"

#include "ui/Palette.h"

namespace
{
constexpr float floorDb = -48.0f;
constexpr float spanDb = 48.0f;
constexpr int firstYellowSegment = 11;
constexpr int firstRedSegment = 14;
} // namespace

VelbriLadderMeter::VelbriLadderMeter()
{
    setInterceptsMouseClicks (false, false);
}

void VelbriLadderMeter::setLevelDb (float newLevelDb)
{
    const auto changesPicture = litSegmentsFor (newLevelDb) != litSegmentsFor (levelDb);
    levelDb = newLevelDb;

    if (changesPicture)
        repaint();
}

// Rounds half-way levels to the even count, so a segment's threshold lights odd segments only.
int VelbriLadderMeter::litSegmentsFor (float level)
{
    const auto proportion = juce::jlimit (0.0f, 1.0f, (level - floorDb) / spanDb);
    return juce::roundToInt (proportion * (float) numSegments);
}

juce::Colour VelbriLadderMeter::litColourOf (int segment)
{
    if (segment >= firstRedSegment)
        return Palette::alert;
    if (segment >= firstYellowSegment)
        return juce::Colours::yellow;
    return Palette::accentGlow;
}

// The stack stands on the bottom edge; rows left over by the integer segment height stay black
// at the top. Below 31 pixels the segments keep a height of 1 and the top ones fall outside.
void VelbriLadderMeter::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);

    const auto bounds = getLocalBounds();
    const auto lit = litSegmentsFor (levelDb);
    const auto segmentHeight = juce::jmax ((bounds.getHeight() - (numSegments - 1)) / numSegments, 1);
    const auto unlit = Palette::textMuted.withAlpha (0.15f);

    for (int segment = 0; segment < numSegments; ++segment)
    {
        const auto y = bounds.getY() + bounds.getHeight() + 1 - (segment + 1) * (segmentHeight + 1);
        g.setColour (segment < lit ? litColourOf (segment) : unlit);
        g.fillRect (bounds.getX(), y, bounds.getWidth(), segmentHeight);
    }
}

std::unique_ptr<juce::AccessibilityHandler> VelbriLadderMeter::createAccessibilityHandler()
{
    return std::make_unique<MeterAccessibility> (*this, juce::Range<double> (-100.0, 6.0),
                                                 [this] { return (double) levelDb; },
                                                 [this] { return spokenLevel (levelDb); });
}
