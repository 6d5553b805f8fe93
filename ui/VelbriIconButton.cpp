#include "ui/VelbriIconButton.h"

#include "ui/Palette.h"

VelbriIconButton::VelbriIconButton (const juce::String& name, Icon iconToDraw)
    : juce::Button (name), icon (iconToDraw)
{
    setTitle (name);
}

void VelbriIconButton::setAvailable (bool shouldBeAvailable)
{
    if (available == shouldBeAvailable)
        return;

    available = shouldBeAvailable;
    repaint();
}

void VelbriIconButton::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto plate = getLocalBounds().toFloat().reduced (0.5f);
    g.setColour (down ? Palette::accent.withAlpha (0.25f) : Palette::controlBackground);
    g.fillRoundedRectangle (plate, 3.0f);
    g.setColour (highlighted && available ? Palette::accentBright : Palette::textMuted);
    g.drawRoundedRectangle (plate, 3.0f, 1.0f);

    // An arc over the top ending in an arrow head pointing down-left (undo) or down-right (redo).
    const auto box = plate.reduced (plate.getWidth() * 0.2f);
    juce::Path arrow;
    arrow.addCentredArc (box.getCentreX(), box.getCentreY() + box.getHeight() * 0.15f, box.getWidth() * 0.45f,
                         box.getHeight() * 0.4f, 0.0f, juce::MathConstants<float>::pi * 0.5f,
                         -juce::MathConstants<float>::pi * 0.55f, true);
    const auto tip = juce::Point<float> (box.getX() + box.getWidth() * 0.05f, box.getCentreY() + box.getHeight() * 0.2f);
    juce::Path head;
    head.addTriangle (tip.translated (-3.5f, -3.5f), tip.translated (3.5f, -3.5f), tip.translated (0.0f, 3.0f));

    if (icon == Icon::redo)
    {
        const auto mirror = juce::AffineTransform::scale (-1.0f, 1.0f, box.getCentreX(), box.getCentreY());
        arrow.applyTransform (mirror);
        head.applyTransform (mirror);
    }

    const auto colour = available ? Palette::textPrimary : Palette::textMuted.withAlpha (0.5f);
    g.setColour (colour);
    g.strokePath (arrow, juce::PathStrokeType (2.0f));
    g.fillPath (head);
}
