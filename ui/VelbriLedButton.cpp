#include "ui/VelbriLedButton.h"

#include "ui/Palette.h"
#include "ui/SwitchAccessibility.h"
#include "ui/VelbriLookAndFeel.h"

VelbriLedButton::VelbriLedButton()
    : juce::Button ({})
{
    setClickingTogglesState (true);
}

void VelbriLedButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool)
{
    const auto colour = getToggleState() ? Palette::accentGlow
                                         : Palette::textMuted.withAlpha (shouldDrawButtonAsHighlighted ? 0.6f : 0.35f);
    VelbriLookAndFeel::drawLed (g, getLocalBounds().toFloat(), colour);
}

std::unique_ptr<juce::AccessibilityHandler> VelbriLedButton::createAccessibilityHandler()
{
    return std::make_unique<SwitchAccessibility> (*this);
}
