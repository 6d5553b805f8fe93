#include "plugin/PluginProcessor.h"
#include "plugin/StateDocument.h"

#include <cmath>
#include <limits>
#include <optional>

namespace
{
constexpr float defaultBpm = 120.0f;

// The manual tempo as saved: a decimal number read like any attribute ("nan", "inf" and "info"
// read as numbers too). A value that is not a finite tempo above 0, also after narrowing to
// float, would reach the echo's delay time, so it restores as 120.
float readManualBpm (const juce::XmlElement& root)
{
    const auto saved = root.getDoubleAttribute ("manualBpm", defaultBpm);

    if (! (saved > 0.0 && saved <= std::numeric_limits<float>::max()))
        return defaultBpm;

    const auto narrowed = static_cast<float> (saved);
    return narrowed > 0.0f ? narrowed : defaultBpm;
}

// On when the first character after leading white space is 1, t, T, y or Y (true, yes, Y, 1);
// off for anything else, an empty value included; on when the attribute is missing.
// XmlElement::getBoolAttribute applies exactly this rule.
bool readHostSync (const juce::XmlElement& root)
{
    return root.getBoolAttribute ("hostSyncEnabled", true);
}

// A saved parameter value as a finite number: text that starts with a decimal number (after
// white space and an optional sign). Anything else, including nan and inf, is no value.
std::optional<double> readFiniteNumber (const juce::var& saved)
{
    const auto text = saved.toString().trimStart();
    const auto unsignedText = (text.startsWithChar ('-') || text.startsWithChar ('+')) ? text.substring (1) : text;
    const auto startsWithNumber = juce::CharacterFunctions::isDigit (unsignedText[0])
                                  || (unsignedText[0] == '.' && juce::CharacterFunctions::isDigit (unsignedText[1]));

    if (! startsWithNumber)
        return std::nullopt;

    const auto value = text.getDoubleValue();
    return std::isfinite (value) ? std::optional<double> (value) : std::nullopt;
}

// The parameter tree reconnects each parameter to the child whose "id" names it and narrows its
// "value" to float. Before that, a value that is not a finite number becomes the parameter's
// default, and one outside the range is limited to it here, in double, so nothing non-finite and
// no out-of-range narrowing ever reaches a parameter.
void repairParameterValues (juce::ValueTree& state, juce::AudioProcessorValueTreeState& parameters)
{
    const juce::Identifier idKey ("id"), valueKey ("value");

    for (auto child : state)
    {
        auto* parameter = parameters.getParameter (child.getProperty (idKey).toString());

        if (parameter == nullptr || ! child.hasProperty (valueKey))
            continue;

        const auto& range = parameter->getNormalisableRange();
        const auto saved = readFiniteNumber (child.getProperty (valueKey));

        if (! saved.has_value())
            child.setProperty (valueKey, parameter->convertFrom0to1 (parameter->getDefaultValue()), nullptr);
        else if (*saved < range.start || *saved > range.end)
            child.setProperty (valueKey, juce::jlimit<double> (range.start, range.end, *saved), nullptr);
    }
}
} // namespace

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

// An unreadable block changes nothing. Otherwise the tempo settings are restored first, then the
// parameters; a root with another tag than ours is adopted as it is.
void VelbrinLumbraProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto xml = readStateDocument (data, sizeInBytes);

    if (xml == nullptr)
        return;

    manualBpm.store (readManualBpm (*xml));
    hostSyncEnabled.store (readHostSync (*xml));

    auto state = juce::ValueTree::fromXml (*xml);
    repairParameterValues (state, parameters);
    parameters.replaceState (state);
}
