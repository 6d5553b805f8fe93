#include "ui/VelbriChoiceBox.h"

namespace
{
// The shown choice, read-only: a choice is changed through the menu or the arrow keys.
class ShownChoice : public juce::AccessibilityTextValueInterface
{
public:
    explicit ShownChoice (juce::ComboBox& boxToRead) : box (boxToRead) {}

    bool isReadOnly() const override { return true; }
    juce::String getCurrentValueAsString() const override { return box.getText(); }
    void setValueAsString (const juce::String&) override {}

private:
    juce::ComboBox& box;
};

class ChoiceBoxHandler : public juce::AccessibilityHandler
{
public:
    explicit ChoiceBoxHandler (juce::ComboBox& boxToWrap)
        : juce::AccessibilityHandler (boxToWrap, juce::AccessibilityRole::comboBox, actionsFor (boxToWrap),
                                      { std::make_unique<ShownChoice> (boxToWrap) })
        , box (boxToWrap)
    {
    }

    juce::AccessibleState getCurrentState() const override
    {
        const auto state = juce::AccessibilityHandler::getCurrentState().withExpandable();
        return box.isPopupActive() ? state.withExpanded() : state.withCollapsed();
    }

    juce::String getHelp() const override { return box.getTooltip(); }

private:
    static juce::AccessibilityActions actionsFor (juce::ComboBox& box)
    {
        return juce::AccessibilityActions()
            .addAction (juce::AccessibilityActionType::press, [&box] { box.showPopup(); })
            .addAction (juce::AccessibilityActionType::showMenu, [&box] { box.showPopup(); });
    }

    juce::ComboBox& box;
};
} // namespace

std::unique_ptr<juce::AccessibilityHandler> VelbriChoiceBox::createAccessibilityHandler()
{
    return std::make_unique<ChoiceBoxHandler> (*this);
}
