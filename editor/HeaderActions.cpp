#include "editor/HeaderActions.h"

#include "plugin/PluginProcessor.h"
#include "ui/Palette.h"

namespace
{
constexpr int slotRadioGroup = 1;
constexpr int gapBetweenGroups = 8;
} // namespace

HeaderActions::HeaderActions (VelbrinLumbraProcessor& processorToUse) : processor (processorToUse)
{
    undoButton.setTooltip ("Undo the last edit made in this window (Ctrl/Cmd+Z)");
    redoButton.setTooltip ("Redo (Ctrl/Cmd+Shift+Z)");
    undoButton.onClick = [this]
    {
        processor.editHistory.undo();
        refresh();
    };
    redoButton.onClick = [this]
    {
        processor.editHistory.redo();
        refresh();
    };

    int slot = 0;
    for (auto* button : { &slotAButton, &slotBButton })
    {
        const auto letter = button->getButtonText();
        button->setTitle ("Compare slot " + letter);
        button->setTooltip ("Compare slot " + letter + ": a click switches to it (the other slot keeps the sound you "
                            "leave); the preset menu copies one slot to the other");
        button->setRadioGroupId (slotRadioGroup, juce::dontSendNotification);
        button->setColour (juce::TextButton::textColourOnId, Palette::accentGlow); // the lit slot's letter glows
        button->setColour (juce::TextButton::textColourOffId, Palette::textMuted);
        button->onClick = [this, slot]
        {
            processor.abCompare.switchTo (processor, slot);
            refresh();
        };
        ++slot;
    }

    for (auto* child : std::initializer_list<juce::Component*> { &slotAButton, &slotBButton, &undoButton, &redoButton })
        addAndMakeVisible (child);

    refresh();
}

void HeaderActions::refresh()
{
    const auto active = processor.abCompare.activeSlot();
    auto& lit = active == 0 ? slotAButton : slotBButton;

    if (! lit.getToggleState())
        lit.setToggleState (true, juce::dontSendNotification);

    undoButton.setAvailable (processor.editHistory.canUndo());
    redoButton.setAvailable (processor.editHistory.canRedo());
}

// [A][B]  [undo][redo], square cells as tall as the strip.
void HeaderActions::resized()
{
    auto area = getLocalBounds();
    const auto cell = area.getHeight();
    slotAButton.setBounds (area.removeFromLeft (cell));
    area.removeFromLeft (2);
    slotBButton.setBounds (area.removeFromLeft (cell));
    area.removeFromLeft (gapBetweenGroups);
    undoButton.setBounds (area.removeFromLeft (cell));
    area.removeFromLeft (2);
    redoButton.setBounds (area.removeFromLeft (cell));
}
