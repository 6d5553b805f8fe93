#include "ui/VelbriGainReductionMeter.h"

#include "ui/MeterAccessibility.h"

#include "ui/VelbriLookAndFeel.h"

VelbriGainReductionMeter::VelbriGainReductionMeter()
{
    // Takes the pointer only so that its tooltip shows; a click does nothing.
    setInterceptsMouseClicks (true, false);
}

void VelbriGainReductionMeter::setReductionDb (float newReductionDb)
{
    const auto shown = std::isfinite (newReductionDb) ? juce::jmax (0.0f, newReductionDb) : 0.0f;
    const auto height = getHeight();

    if (VelbriLookAndFeel::gainReductionBarLength (reductionDb, height)
        != VelbriLookAndFeel::gainReductionBarLength (shown, height))
        repaint();

    reductionDb = shown;
}

juce::String VelbriGainReductionMeter::getTooltip()
{
    return "Dynamics gain reduction: " + juce::String (-reductionDb, 1) + " dB (scale 0 to -24 dB)";
}

void VelbriGainReductionMeter::paint (juce::Graphics& g)
{
    VelbriLookAndFeel::drawGainReductionMeter (g, getLocalBounds().toFloat(), reductionDb);
}

std::unique_ptr<juce::AccessibilityHandler> VelbriGainReductionMeter::createAccessibilityHandler()
{
    return std::make_unique<MeterAccessibility> (
        *this, juce::Range<double> (0.0, 24.0), [this] { return (double) reductionDb; },
        [this] { return juce::String (reductionDb, 1) + " dB reduction"; });
}
