// The tempo column (TAP, the BPM readout that can be typed into, SYNC) and the refresh timer.

#include "editor/PluginEditor.h"

#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"

#include <cmath>

namespace
{
const juce::String syncTooltip { "ON: el tempo del host manda cuando esta disponible (default). OFF: fuerza el BPM "
                                 "manual/TAP aunque haya host." };
const juce::String bpmTooltip { "Tempo manual (fallback sin host): doble click para escribirlo, o TAP" };

// The whole beats, truncated as a user counts them: 85.7 reads 85.
juce::String readoutFor (float bpm)
{
    if (! std::isfinite (bpm) || std::abs (bpm) > 1.0e6f)
        return "--- BPM"; // not a tempo anything in the plug-in writes; never convert it to int

    return juce::String (static_cast<int> (bpm)) + " BPM";
}
} // namespace

void VelbrinLumbraEditor::setupTempoPanel()
{
    tapButton.onClick = [this] { processorRef.registerTap(); };

    tapButton.setTitle ("Tap tempo");
    syncButton.setTitle ("Host tempo sync");
    bpmLabel.setTitle ("Manual tempo");
    syncButton.setTooltip (syncTooltip);
    syncButton.setToggleState (processorRef.hostSyncEnabled.load(), juce::dontSendNotification);
    syncButton.onClick = [this] { processorRef.hostSyncEnabled.store (syncButton.getToggleState()); };
    addAndMakeVisible (syncButton);

    bpmLabel.setJustificationType (juce::Justification::centred);
    bpmLabel.setColour (juce::Label::textColourId, Palette::textMuted);
    bpmLabel.setEditable (false, true, false);
    bpmLabel.setTooltip (bpmTooltip);
    bpmLabel.onEditorShow = [this]
    {
        if (auto* editor = bpmLabel.getCurrentTextEditor())
            editor->setInputRestrictions (3, "0123456789");
    };
    bpmLabel.onTextChange = [this] { commitTypedBpm(); };
    addAndMakeVisible (bpmLabel);
}

// An empty or all-zero entry changes nothing; anything else is limited to 20..300 by the processor.
void VelbrinLumbraEditor::commitTypedBpm()
{
    const auto typed = static_cast<float> (bpmLabel.getText().getDoubleValue());

    if (typed > 0.0f)
        processorRef.setManualBpm (typed);
}

void VelbrinLumbraEditor::timerCallback()
{
    refreshMeters();
    pulseBypassIndicator();
    refreshBpmReadout();
    relightSelectors();
    presetBar.refresh();
    headerActions.refresh();
    refreshSyncButton();
}

// A restored state, a preset or an A/B switch can change the flag behind the open window.
void VelbrinLumbraEditor::refreshSyncButton()
{
    const auto on = processorRef.hostSyncEnabled.load();

    if (syncButton.getToggleState() != on)
        syncButton.setToggleState (on, juce::dontSendNotification);
}

// Each meter repaints itself only when what it draws changes.
void VelbrinLumbraEditor::refreshMeters()
{
    inputMeter.setLevelDb (processorRef.inputLevelDb.load());
    outputMeter.setLevelDb (processorRef.outputLevelDb.load());
    vuArc.setLevelDb (processorRef.outputLevelDb.load());
    gainReductionMeter.setReductionDb (processorRef.gainReductionDb.load());
}

// The indicator pulses only while the chain runs (bypass off); then only its LED square is redrawn.
void VelbrinLumbraEditor::pulseBypassIndicator()
{
    if (! bypassButton.getToggleState())
        bypassButton.repaint (VelbriLookAndFeel::toggleLedArea (bypassButton.getLocalBounds()));
}

// Never while the user is typing: that would close the text editor under their fingers.
void VelbrinLumbraEditor::refreshBpmReadout()
{
    if (bpmLabel.getCurrentTextEditor() == nullptr)
        bpmLabel.setText (readoutFor (processorRef.manualBpm.load()), juce::dontSendNotification);
}

void VelbrinLumbraEditor::relightSelectors()
{
    lowModeSelector.setSelectedIndex (choiceIndexOf (ParamIDs::lowMode));
    highModeSelector.setSelectedIndex (choiceIndexOf (ParamIDs::highMode));
    dynamicsModeSelector.setSelectedIndex (choiceIndexOf (ParamIDs::compMode));
    spaceATypeSelector.setSelectedIndex (choiceIndexOf (ParamIDs::spaceAType));
    spaceBTypeSelector.setSelectedIndex (choiceIndexOf (ParamIDs::spaceBType));
    echoDivisionSelector.setSelectedIndex (choiceIndexOf (ParamIDs::echoDivision));
}
