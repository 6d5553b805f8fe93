#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// An on/off switch drawn as one round LED: glowing when on, dim when off, a little brighter while
// the mouse is over it. Each click flips it; everything else is the framework button's.
class VelbriLedButton : public juce::Button
{
public:
    VelbriLedButton();

    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    // A toggle button for screen readers, checked while on (the framework's says plain button).
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriLedButton)
};
