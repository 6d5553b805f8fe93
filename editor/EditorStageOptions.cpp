// The stages' options that sit beside their main controls: each pre-delay knob's SYNC switch and
// the Dynamics column's Oversample choice. Attachments bind them (see createAttachments), so a
// click is one complete gesture for the host and a host change shows at once.

#include "editor/PluginEditor.h"

#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"

namespace
{
constexpr float syncCaptionHeight = 16.0f;

const juce::String preDelaySyncTooltip { "ON: the pre-delay is a note value of the tempo in force (the host's with "
                                         "SYNC, else the BPM typed or tapped). OFF: milliseconds (default)." };
const juce::String oversampleTooltip { "Oversample: runs Dynamics at 2x or 4x the host rate, so fast gain changes "
                                       "fold back less; adds latency. 1x (Off): no latency (default)." };
} // namespace

void VelbrinLumbraEditor::setupStageOptions()
{
    const std::array<std::pair<VelbriLedSwitch*, const juce::String*>, 2> syncSwitches { {
        { &spaceAPreDelaySyncButton, &ParamIDs::spaceAPreDelaySync },
        { &spaceBPreDelaySyncButton, &ParamIDs::spaceBPreDelaySync },
    } };
    for (const auto& [button, parameterId] : syncSwitches)
    {
        button->setCaptionFont (lookAndFeel.getDisplayFont (syncCaptionHeight));
        button->setTooltip (preDelaySyncTooltip);
        nameForScreenReaders (*button, *parameterId);
        addAndMakeVisible (*button);
    }

    // "1x" rather than the parameter's "Off": beside the Dynamics LED, "Off" would read as the
    // stage being switched off.
    oversampleBox.addSectionHeading ("Oversample");
    oversampleBox.addItemList ({ "1x", "2x", "4x" }, 1);
    oversampleBox.setTooltip (oversampleTooltip);
    nameForScreenReaders (oversampleBox, ParamIDs::compOversample);
    addAndMakeVisible (oversampleBox);
}

// Screen readers announce a control by its title: the parameter's own name, as hosts show it.
void VelbrinLumbraEditor::nameForScreenReaders (juce::Component& control, const juce::String& parameterId)
{
    if (const auto* parameter = processorRef.parameters.getParameter (parameterId))
        control.setTitle (parameter->getName (64));

    control.setName (parameterId);
}
