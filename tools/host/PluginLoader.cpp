#include "tools/host/PluginLoader.h"

std::unique_ptr<juce::PluginDescription> describeVst3Plugin (const juce::File& bundle)
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, bundle.getFullPathName());

    if (found.isEmpty())
        return nullptr;

    return std::make_unique<juce::PluginDescription> (*found.getFirst());
}

std::unique_ptr<juce::AudioPluginInstance> loadVst3Plugin (const juce::File& bundle, double sampleRate,
                                                          int blockSize, juce::String& error)
{
    if (! bundle.exists())
    {
        error = "no plug-in at " + bundle.getFullPathName();
        return nullptr;
    }

    const auto description = describeVst3Plugin (bundle);

    if (description == nullptr)
    {
        error = "no VST3 plug-in found in " + bundle.getFullPathName();
        return nullptr;
    }

    juce::AudioPluginFormatManager formats;
    formats.addFormat (new juce::VST3PluginFormat());
    return formats.createPluginInstance (*description, sampleRate, blockSize, error);
}
