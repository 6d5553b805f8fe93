#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A compact drop-down choice in the look and feel's combo-box plate. Screen readers announce it by
// its title (what it chooses) and read the shown choice as its value; the framework's combo box
// would announce only the choice, leaving the listener to guess what it belongs to.
class VelbriChoiceBox : public juce::ComboBox
{
public:
    VelbriChoiceBox() = default;

    // Public so that what a screen reader is told can be checked without a window on the desktop.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VelbriChoiceBox)
};
