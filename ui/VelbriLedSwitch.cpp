#include "ui/VelbriLedSwitch.h"

#include "ui/Palette.h"
#include "ui/SwitchAccessibility.h"
#include "ui/VelbriLookAndFeel.h"

namespace
{
constexpr float ledSize = 12.0f;
constexpr float ledTop = 2.0f;
constexpr int captionHeight = 14;
} // namespace

VelbriLedSwitch::VelbriLedSwitch (const juce::String& caption)
    : juce::Button ({})
{
    setButtonText (caption);
    setClickingTogglesState (true);
}

void VelbriLedSwitch::setCaptionFont (const juce::Font& font)
{
    captionFont = font;
    repaint();
}

juce::Rectangle<float> VelbriLedSwitch::ledArea (juce::Rectangle<int> bounds)
{
    const auto side = juce::jmin (ledSize, (float) bounds.getWidth());
    return { (float) bounds.getCentreX() - side / 2.0f, (float) bounds.getY() + ledTop, side, side };
}

// The caption's line sits at the bottom, below the LED's square.
juce::Rectangle<int> VelbriLedSwitch::captionArea (juce::Rectangle<int> bounds)
{
    return bounds.removeFromBottom (captionHeight);
}

void VelbriLedSwitch::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool)
{
    const auto on = getToggleState();
    const auto ledColour = on ? Palette::accentGlow
                              : Palette::textMuted.withAlpha (shouldDrawButtonAsHighlighted ? 0.6f : 0.35f);
    VelbriLookAndFeel::drawLed (g, ledArea (getLocalBounds()), ledColour);

    g.setColour (on ? Palette::textPrimary : Palette::textMuted);
    g.setFont (captionFont);
    g.drawText (getButtonText(), captionArea (getLocalBounds()), juce::Justification::centred, false);
}

std::unique_ptr<juce::AccessibilityHandler> VelbriLedSwitch::createAccessibilityHandler()
{
    return std::make_unique<SwitchAccessibility> (*this);
}
