#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A readout that can be typed into: a double-click with the mouse, or Enter while it has the
// keyboard focus, opens its text box. Screen readers announce it by its title (what it holds, not
// the framework label's habit of using the text as the name), read the text as its value, and
// can set it as if typed.
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

    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override
    {
        return std::make_unique<juce::AccessibilityHandler> (
            *this, juce::AccessibilityRole::editableText,
            juce::AccessibilityActions().addAction (juce::AccessibilityActionType::press, [this] { showEditor(); }),
            juce::AccessibilityHandler::Interfaces { std::make_unique<Text> (*this) });
    }

private:
    class Text : public juce::AccessibilityTextValueInterface
    {
    public:
        explicit Text (VelbriValueField& fieldToUse) : field (fieldToUse) {}

        bool isReadOnly() const override { return ! field.isEditableOnDoubleClick(); }
        juce::String getCurrentValueAsString() const override { return field.getText(); }
        void setValueAsString (const juce::String& text) override { field.setText (text, juce::sendNotificationSync); }

    private:
        VelbriValueField& field;
    };
};
