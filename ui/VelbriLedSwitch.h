#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A small on/off switch that belongs to the control beside it (a knob's SYNC): a round LED with
// the switch's caption centred below it. On, the LED glows and the caption is bright; off, both
// are dim, the LED a little brighter while the mouse is over it. Each click flips it.
class VelbriLedSwitch : public juce::Button
{
public:
    explicit VelbriLedSwitch (const juce::String& caption);

    // The face the caption is drawn in; the framework's default until one is given.
    void setCaptionFont (const juce::Font& font);
    const juce::Font& getCaptionFont() const noexcept { return captionFont; }

    // Where the LED and the caption go in a switch of the given size.
    static juce::Rectangle<float> ledArea (juce::Rectangle<int> bounds);
    static juce::Rectangle<int> captionArea (juce::Rectangle<int> bounds);

    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    // A toggle button for screen readers, checked while on (the framework's says plain button).
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    juce::Font captionFont { 14.0f };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriLedSwitch)
};
