#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A readout that can be typed into: a double-click with the mouse, or Enter while it has the
// keyboard focus, opens its text box.
class VelbriValueField : public juce::Label
{
public:
    bool keyPressed (const juce::KeyPress& key) override
    {
        if (key.getKeyCode() != juce::KeyPress::returnKey || ! isEditableOnDoubleClick())
            return juce::Label::keyPressed (key);

        showEditor();
        return true;
    }
};
