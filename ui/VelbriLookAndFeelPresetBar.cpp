#include "ui/VelbriLookAndFeel.h"

namespace
{
constexpr int previousPart = 1, namePart = 2, nextPart = 3;

void drawArrow (juce::Graphics& g, juce::Rectangle<int> cell, bool pointsLeft, bool hovered)
{
    const auto centre = cell.toFloat().getCentre();
    const auto half = juce::jmin (4.0f, cell.getHeight() * 0.2f);
    const auto tip = pointsLeft ? -half : half;

    juce::Path arrow;
    arrow.addTriangle (centre.x + tip, centre.y, centre.x - tip, centre.y - half * 1.3f, centre.x - tip,
                       centre.y + half * 1.3f);
    g.setColour (hovered ? Palette::accentBright : Palette::accentGlow.withAlpha (0.85f));
    g.fillPath (arrow);
}
} // namespace

void VelbriLookAndFeel::drawPresetBar (juce::Graphics& g, juce::Rectangle<int> bounds, const PresetBarLook& look) const
{
    const auto parts = PresetBarParts::of (bounds);
    const auto plate = bounds.toFloat().reduced (0.5f);

    g.setColour (Palette::controlBackground);
    g.fillRoundedRectangle (plate, 3.0f);

    if (look.hoveredPart == namePart)
    {
        g.setColour (Palette::accent.withAlpha (0.12f));
        g.fillRect (parts.name);
    }

    g.setColour (look.hoveredPart == namePart ? Palette::accentBright : Palette::textMuted);
    g.drawRoundedRectangle (plate, 3.0f, 1.0f);

    g.setColour (Palette::textMuted.withAlpha (0.5f));
    g.drawVerticalLine (parts.previous.getRight(), plate.getY() + 3.0f, plate.getBottom() - 3.0f);
    g.drawVerticalLine (parts.next.getX() - 1, plate.getY() + 3.0f, plate.getBottom() - 3.0f);

    drawArrow (g, parts.previous, true, look.hoveredPart == previousPart);
    drawArrow (g, parts.next, false, look.hoveredPart == nextPart);

    const auto text = parts.name.reduced (6, 0);
    g.setFont (getDisplayFont (juce::jmin (20.0f, static_cast<float> (bounds.getHeight()) - 4.0f)));

    if (look.message.isNotEmpty())
    {
        g.setColour (Palette::alert);
        g.drawFittedText (look.message, text, juce::Justification::centred, 1, 0.7f);
        return;
    }

    // The edited mark sits in a cell of its own at the right, so the name never moves under it.
    const auto markCell = text.withLeft (text.getRight() - 10);
    g.setColour (Palette::textPrimary);
    g.drawText (look.name, text.withTrimmedRight (12), juce::Justification::centred, true);

    if (look.edited)
    {
        g.setColour (Palette::accentGlow);
        g.drawText ("*", markCell, juce::Justification::centred, false);
    }
}
