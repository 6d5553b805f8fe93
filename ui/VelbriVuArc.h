#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A small half-circle needle meter with a "VU" legend: -36 dB points to nine o'clock, +3 dB to
// three o'clock, and the scale turns to the alert colour from -8.7 dB up. It shows exactly the
// last level it was given.
class VelbriVuArc : public juce::Component
{
public:
    VelbriVuArc();

    // Stores the level (dBFS); repaints only when the needle moves.
    void setLevelDb (float newLevelDb);
    float getLevelDb() const noexcept { return levelDb; }

    void paint (juce::Graphics&) override;

    // A read-only value for screen readers, its level as text on request.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    struct Geometry
    {
        float cx, cy, radius;
    };

    static float needleProportionFor (float levelDb);
    static Geometry geometryFor (juce::Rectangle<float> bounds);
    static void paintFace (juce::Graphics&, juce::Rectangle<float> bounds);
    static void strokeArc (juce::Graphics&, const Geometry&, float fromAngle, float toAngle, juce::Colour);
    void paintNeedle (juce::Graphics&, const Geometry&) const;
    static void paintLegend (juce::Graphics&, juce::Rectangle<float> bounds);

    float levelDb = -100.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriVuArc)
};
