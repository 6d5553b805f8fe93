#include "ui/VelbriLookAndFeel.h"

namespace
{
constexpr float gainReductionFullScaleDb = 24.0f;
} // namespace

int VelbriLookAndFeel::gainReductionBarLength (float reductionDb, int height)
{
    const auto proportion = juce::jlimit (0.0f, 1.0f, reductionDb / gainReductionFullScaleDb);
    return juce::roundToInt (proportion * static_cast<float> (juce::jmax (0, height)));
}

void VelbriLookAndFeel::drawGainReductionMeter (juce::Graphics& g, juce::Rectangle<float> bounds, float reductionDb)
{
    g.setColour (Palette::trackBackground);
    g.fillRect (bounds);

    g.setColour (Palette::textMuted.withAlpha (0.5f));
    g.drawRect (bounds, 1.0f);

    const auto length = gainReductionBarLength (reductionDb, juce::roundToInt (bounds.getHeight()));
    g.setColour (Palette::alert);
    g.fillRect (bounds.withHeight (static_cast<float> (length)));
}
