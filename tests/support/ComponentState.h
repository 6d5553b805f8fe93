#pragma once

#include "tests/support/HostedState.h"

// The raw bytes a VST3 host keeps for the plug-in's component (IComponent::getState), and a way to
// hand any bytes back through IComponent::setState and the controller's setComponentState, by way
// of the state container JUCE's VST3 hosting uses.
namespace componentState
{
inline juce::MemoryBlock read (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock hosted;
    plugin.getStateInformation (hosted);
    return hostedState::componentStateOf (hosted);
}

inline void write (juce::AudioPluginInstance& plugin, const void* data, size_t size)
{
    juce::XmlElement xml ("VST3PluginState");
    xml.createNewChildElement ("IComponent")->addTextElement (juce::MemoryBlock (data, size).toBase64Encoding());

    juce::MemoryBlock hostState;
    juce::AudioProcessor::copyXmlToBinary (xml, hostState);
    plugin.setStateInformation (hostState.getData(), static_cast<int> (hostState.getSize()));
}

inline void write (juce::AudioPluginInstance& plugin, const juce::MemoryBlock& block)
{
    write (plugin, block.getData(), block.getSize());
}

// The wrapper closes the block with an 8-byte private-data size and the text "JUCEPrivateData".
constexpr size_t privateMarkerLength = 15;
inline size_t privateSizeFieldOffset (const juce::MemoryBlock& block) { return block.getSize() - privateMarkerLength - 8; }
} // namespace componentState
