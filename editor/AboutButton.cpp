#include "editor/AboutButton.h"

#include "editor/AboutText.h"

AboutButton::AboutButton() : juce::Button ("About")
{
    setComponentID ("about");
    setTitle ("About " + aboutTitle());
    setDescription (aboutText());
    setTooltip (aboutText());
    setWantsKeyboardFocus (true);
    setMouseCursor (juce::MouseCursor::PointingHandCursor);
}

void AboutButton::clicked()
{
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::NoIcon, "About", aboutText(), "OK", this);
}
