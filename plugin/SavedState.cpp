#include "plugin/PluginProcessor.h"

// The state block: the parameter tree as XML in JUCE's binary container, with the two tempo
// settings as attributes of its root.
void VelbrinLumbraProcessor::getStateInformation (juce::MemoryBlock& destination)
{
    const auto state = parameters.copyState();

    if (auto xml = state.createXml())
    {
        xml->setAttribute ("manualBpm", static_cast<double> (manualBpm.load()));
        xml->setAttribute ("hostSyncEnabled", hostSyncEnabled.load() ? 1 : 0);
        copyXmlToBinary (*xml, destination);
    }
}

void VelbrinLumbraProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto xml = getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr)
        return;

    manualBpm.store (static_cast<float> (xml->getDoubleAttribute ("manualBpm", 120.0)));
    hostSyncEnabled.store (xml->getBoolAttribute ("hostSyncEnabled", true));
    parameters.replaceState (juce::ValueTree::fromXml (*xml));
}
