#include "ui/VelbriLedStackSelector.h"

#include "ui/Palette.h"
#include "ui/VelbriFontOptions.h"

namespace
{
constexpr float captionFontHeight = 12.5f;
}

void VelbriLedStackSelector::setItems (const juce::StringArray& newItems)
{
    items = newItems;
    repaint();
}

void VelbriLedStackSelector::setSelectedIndex (int index)
{
    if (index == selectedIndex)
        return;

    selectedIndex = index;
    repaint();
}

// The row is taken from the release position; a release above or below the stack (the press
// started inside it) picks the nearest end row.
void VelbriLedStackSelector::mouseUp (const juce::MouseEvent& e)
{
    const auto rowCount = items.size();
    if (rowCount == 0)
        return;

    const auto rowHeight = juce::jmax (getHeight() / rowCount, 1);
    const auto index = juce::jlimit (0, rowCount - 1, e.y / rowHeight);

    if (index != selectedIndex)
    {
        selectedIndex = index;
        repaint();
    }

    if (onChange)
        onChange (index);
}

void VelbriLedStackSelector::paint (juce::Graphics& g)
{
    const auto rowCount = items.size();
    if (rowCount == 0)
        return;

    const auto rowHeight = getHeight() / rowCount;
    g.setFont (VelbriFontOptions (captionFontHeight).toFont());

    for (int row = 0; row < rowCount; ++row)
        paintRow (g, row, rowHeight);
}

void VelbriLedStackSelector::paintRow (juce::Graphics& g, int row, int rowHeight) const
{
    const auto width = getWidth();
    const auto rowY = row * rowHeight;
    const auto ledBox = juce::jmin (width, rowHeight);
    const auto margin = 0.3f * (float) rowHeight;
    const auto lit = row == selectedIndex;

    g.setColour (lit ? Palette::accentGlow : Palette::textMuted.withAlpha (0.4f));
    g.fillEllipse (margin, (float) rowY + margin, juce::jmax ((float) ledBox - 2.0f * margin, 0.0f),
                   juce::jmax ((float) rowHeight - 2.0f * margin, 0.0f));

    g.setColour (lit ? Palette::textPrimary : Palette::textMuted);
    g.drawText (items[row], juce::Rectangle<int> (ledBox + 2, rowY, juce::jmax (width - ledBox - 4, 0), rowHeight),
                juce::Justification::centredLeft, true);
}
