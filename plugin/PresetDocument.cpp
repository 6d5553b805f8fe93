#include "plugin/PresetDocument.h"

#include "plugin/StateDocument.h"

#include <charconv>

namespace
{
const juce::Identifier presetVersionKey ("presetVersion");
const juce::Identifier presetNameKey ("presetName");

// The whole text must be one finite decimal number: a preset holds only what the plug-in wrote.
std::optional<double> readWholeNumber (const juce::String& text)
{
    const auto trimmed = text.trim();
    const auto* begin = trimmed.toRawUTF8();
    const auto* end = begin + trimmed.getNumBytesAsUTF8();

    if (begin != end && *begin == '+')
        return std::nullopt;

    double value = 0.0;
    const auto [stop, error] = std::from_chars (begin, end, value);

    if (error != std::errc() || stop != end || begin == end || ! std::isfinite (value))
        return std::nullopt;

    return value;
}

const juce::XmlElement* findParam (const juce::XmlElement& root, const juce::String& id)
{
    for (const auto* child : root.getChildWithTagNameIterator ("PARAM"))
        if (child->getStringAttribute ("id") == id)
            return child;

    return nullptr;
}
} // namespace

juce::MemoryBlock presetStateBlock (const PresetSetting& setting)
{
    juce::XmlElement root ("PARAMETERS");
    root.setAttribute (presetNameKey, sanitisePresetName (setting.name));
    root.setAttribute (presetVersionKey, 1);

    for (const auto& [id, value] : setting.values)
    {
        auto* child = root.createNewChildElement ("PARAM");
        child->setAttribute ("id", id);
        child->setAttribute ("value", static_cast<double> (value));
    }

    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (root, block);
    return block;
}

bool isPresetDocument (const juce::XmlElement& root)
{
    return root.hasAttribute (presetVersionKey.toString());
}

std::optional<PresetSetting> presetFromDocument (const juce::XmlElement& root,
                                                 const juce::AudioProcessorValueTreeState& parameters,
                                                 juce::String& error)
{
    PresetSetting setting { sanitisePresetName (root.getStringAttribute (presetNameKey)), {} };

    for (const auto& id : soundParameterIds())
    {
        const auto* parameter = parameters.getParameter (id);
        const auto* saved = findParam (root, id);

        if (parameter == nullptr || saved == nullptr)
        {
            error = "the preset has no value for " + id;
            return std::nullopt;
        }

        const auto value = readWholeNumber (saved->getStringAttribute ("value"));
        const auto& range = parameter->getNormalisableRange();

        if (! value.has_value() || *value < range.start || *value > range.end)
        {
            error = "the preset's value for " + id + " is not a number inside its range";
            return std::nullopt;
        }

        setting.values.push_back ({ id, static_cast<float> (*value) });
    }

    return setting;
}

std::optional<PresetSetting> presetFromStateBlock (const void* data, size_t sizeInBytes,
                                                   const juce::AudioProcessorValueTreeState& parameters,
                                                   juce::String& error)
{
    const auto document = readStateDocument (data, static_cast<int> (juce::jmin (sizeInBytes, static_cast<size_t> (1 << 30))));

    if (document == nullptr)
    {
        error = "the preset's settings are not a readable state of this plug-in";
        return std::nullopt;
    }

    return presetFromDocument (*document, parameters, error);
}
