#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A button that Space clicks as well as Enter while it has the keyboard focus (the framework's
// buttons answer Enter only), so a switch toggles and a button presses from either key.
template <typename ButtonType>
class KeyClickButton : public ButtonType
{
public:
    using ButtonType::ButtonType;

    bool keyPressed (const juce::KeyPress& key) override
    {
        const auto code = key.getKeyCode();
        const auto plain = ! key.getModifiers().isAnyModifierKeyDown();

        if (plain && this->isEnabled() && (code == juce::KeyPress::spaceKey || code == juce::KeyPress::returnKey))
        {
            this->triggerClick();
            return true;
        }

        return ButtonType::keyPressed (key);
    }
};
