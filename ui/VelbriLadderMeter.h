#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A column of 16 LED segments, 3 dB each, from -48 dB (dark) to 0 dB (all lit): glow for the
// lower eleven, yellow for the next three, alert red for the top two. It shows exactly the last
// level it was given; smoothing, if any, belongs to whoever feeds it.
class VelbriLadderMeter : public juce::Component
{
public:
    static constexpr int numSegments = 16;

    VelbriLadderMeter();

    // Stores the level (dBFS); repaints only when it lights another number of segments.
    void setLevelDb (float newLevelDb);
    float getLevelDb() const noexcept { return levelDb; }

    // How many segments a level lights, from the bottom: 0..16.
    static int litSegmentsFor (float levelDb);

    void paint (juce::Graphics&) override;

    // A read-only value for screen readers, its level as text on request.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    static juce::Colour litColourOf (int segment);

    float levelDb = -100.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriLadderMeter)
};
