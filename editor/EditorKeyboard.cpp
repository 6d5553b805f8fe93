// The window's keyboard: the Tab order, in the order the signal flows, and undo and redo.

#include "editor/PluginEditor.h"

#include "plugin/PluginProcessor.h"

void VelbrinLumbraEditor::setupKeyboardOrder()
{
    // The editor holds its controls' Tab order; it never takes the focus itself.
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);
    setWantsKeyboardFocus (false);

    juce::Component* const order[] = {
        &inputSlider,
        &lowEnableButton, &lowModeSelector, &lowSlider,
        &highEnableButton, &highModeSelector, &highSlider,
        &dynamicsEnableButton, &oversampleBox, &dynamicsModeSelector, &dynamicsSlider,
        &spaceAEnableButton, &spaceAPreDelayKnob, &spaceAPreDelaySyncButton, &spaceATypeSelector, &spaceASlider,
        &spaceBEnableButton, &spaceBPreDelayKnob, &spaceBPreDelaySyncButton, &spaceBTypeSelector, &spaceBSlider,
        &echoEnableButton, &echoFeedbackKnob, &echoDivisionSelector, &echoSlider,
        &tapButton, &bpmLabel, &syncButton,
        &blendSlider, &outputSlider, &bypassButton,
        &presetBar, &headerActions, &aboutButton,
    };

    int position = 1;
    for (auto* control : order)
        control->setExplicitFocusOrder (position++);

    // Inside the header strip: A, B, undo, redo.
    int inner = 1;
    for (auto* button : std::initializer_list<juce::Component*> { &headerActions.slotAButton, &headerActions.slotBButton,
                                                                  &headerActions.undoButton, &headerActions.redoButton })
        button->setExplicitFocusOrder (inner++);

    for (auto* label : { &inputLabel, &lowLabel, &highLabel, &dynamicsLabel, &spaceALabel, &spaceBLabel, &echoLabel,
                         &blendLabel, &outputLabel, &spaceAPreDelayLabel, &spaceBPreDelayLabel, &echoFeedbackLabel })
        label->setWantsKeyboardFocus (false);
}

bool VelbrinLumbraEditor::keyPressed (const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();
    const auto letter = juce::CharacterFunctions::toLowerCase ((juce::juce_wchar) key.getKeyCode());

    if (! mods.isCommandDown() || mods.isAltDown())
        return false;

    const auto isRedo = (letter == 'z' && mods.isShiftDown()) || (letter == 'y' && ! mods.isShiftDown());
    const auto isUndo = letter == 'z' && ! mods.isShiftDown();

    if (isUndo)
        processorRef.editHistory.undo();
    else if (isRedo)
        processorRef.editHistory.redo();
    else
        return false;

    headerActions.refresh();
    return true;
}
