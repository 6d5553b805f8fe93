#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A thin vertical bar that shows how hard the compressor works: it grows downward from its top
// (no reduction) to its bottom (24 dB or more), in the alert colour. The look and feel draws it;
// the tooltip reads the value shown.
class VelbriGainReductionMeter : public juce::Component, public juce::SettableTooltipClient
{
public:
    VelbriGainReductionMeter();

    // Stores the reduction (dB, 0 or more) and repaints only when the drawn bar would change.
    void setReductionDb (float newReductionDb);
    float getReductionDb() const noexcept { return reductionDb; }

    juce::String getTooltip() override;
    void paint (juce::Graphics&) override;

    // A read-only value for screen readers, its level as text on request.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    float reductionDb = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriGainReductionMeter)
};
