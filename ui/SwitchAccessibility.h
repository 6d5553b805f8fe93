#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// What a screen reader is told about an on/off switch drawn as a plain button: a toggle button,
// checked while on, named by its title (its caption when it has none), pressed or toggled as a
// click would.
class SwitchAccessibility : public juce::AccessibilityHandler
{
public:
    explicit SwitchAccessibility (juce::Button& buttonToUse)
        : AccessibilityHandler (buttonToUse, juce::AccessibilityRole::toggleButton,
                                juce::AccessibilityActions()
                                    .addAction (juce::AccessibilityActionType::press, [&buttonToUse] { buttonToUse.triggerClick(); })
                                    .addAction (juce::AccessibilityActionType::toggle, [&buttonToUse] { buttonToUse.triggerClick(); })),
          button (buttonToUse)
    {
    }

    juce::String getTitle() const override
    {
        const auto title = button.getTitle();
        return title.isNotEmpty() ? title : button.getButtonText();
    }

    juce::AccessibleState getCurrentState() const override
    {
        const auto state = AccessibilityHandler::getCurrentState().withCheckable();
        return button.getToggleState() ? state.withChecked() : state;
    }

private:
    juce::Button& button;
};
