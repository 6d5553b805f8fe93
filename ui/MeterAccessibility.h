#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <functional>

// What a screen reader is told about a meter: a read-only value in its range, read as text only
// when asked. Nothing is announced as the level moves, so a reader is never flooded by its ticks.
class MeterAccessibility : public juce::AccessibilityHandler
{
public:
    MeterAccessibility (juce::Component& meter, juce::Range<double> range, std::function<double()> level,
                        std::function<juce::String()> text)
        : AccessibilityHandler (meter, juce::AccessibilityRole::progressBar, juce::AccessibilityActions{},
                                { std::make_unique<Value> (range, std::move (level), std::move (text)) })
    {
    }

private:
    class Value : public juce::AccessibilityValueInterface
    {
    public:
        Value (juce::Range<double> rangeToUse, std::function<double()> levelToRead, std::function<juce::String()> textToRead)
            : range (rangeToUse), level (std::move (levelToRead)), text (std::move (textToRead))
        {
        }

        bool isReadOnly() const override { return true; }
        double getCurrentValue() const override { return range.clipValue (level()); }
        void setValue (double) override {}
        juce::String getCurrentValueAsString() const override { return text(); }
        void setValueAsString (const juce::String&) override {}
        AccessibleValueRange getRange() const override { return { { range.getStart(), range.getEnd() }, 0.1 }; }

    private:
        juce::Range<double> range;
        std::function<double()> level;
        std::function<juce::String()> text;
    };
};

// A level as a meter reads it out: "-12.5 dB", or "silent" at the floor.
inline juce::String spokenLevel (float levelDb)
{
    if (! std::isfinite (levelDb) || levelDb <= -99.0f)
        return "silent";

    return juce::String (levelDb, 1) + " dB";
}
