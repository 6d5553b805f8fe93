#include "plugin/PluginProcessor.h"
#include "plugin/PresetDocument.h"
#include "plugin/PresetSetting.h"
#include "plugin/StateDocument.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace
{
constexpr float defaultBpm = 120.0f;

// A decimal number at the start of a saved text, after white space: "42.5%" reads 42.5, "nan" and
// "inf" read as such, text that does not start with a number reads as nothing. JUCE's own reader
// overflows a signed integer on an exponent of many digits; this one reports any value beyond a
// double (too large or too small) as infinite, hence unusable, and like JUCE it ignores the locale.
std::optional<double> readLeadingNumber (const juce::String& saved)
{
    const auto text = saved.trimStart();
    const auto* begin = text.toRawUTF8();
    const auto* end = begin + text.getNumBytesAsUTF8();
    const auto negative = *begin == '-';

    if (*begin == '+' || negative)
        ++begin;

    double value = 0.0;
    const auto [stop, error] = std::from_chars (begin, end, value);

    if (stop == begin)
        return std::nullopt;

    if (error == std::errc::result_out_of_range)
        return std::numeric_limits<double>::infinity();

    return negative ? -value : value;
}

// The manual tempo as saved. A value that is not a finite tempo above 0, also after narrowing to
// float, would reach the echo's delay time, so it restores as 120; a missing one restores as 120.
float readManualBpm (const juce::XmlElement& root)
{
    if (! root.hasAttribute ("manualBpm"))
        return defaultBpm;

    const auto saved = readLeadingNumber (root.getStringAttribute ("manualBpm")).value_or (0.0);

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

// A saved parameter value as a finite number; anything else, including nan and inf, is no value.
std::optional<double> readFiniteNumber (const juce::var& saved)
{
    const auto value = readLeadingNumber (saved.toString());
    return value.has_value() && std::isfinite (*value) ? value : std::nullopt;
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

        // Written back as a plain number in every case, so the framework never parses saved text.
        if (! saved.has_value())
            child.setProperty (valueKey, parameter->convertFrom0to1 (parameter->getDefaultValue()), nullptr);
        else
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

        if (const auto presetName = presetSession.getName(); presetName.isNotEmpty())
            xml->setAttribute ("presetName", presetName);
        else
            xml->removeAttribute ("presetName");

        abCompare.writeTo (*xml);
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

    if (isPresetDocument (*xml))
    {
        restorePreset (*xml);
        return;
    }

    manualBpm.store (readManualBpm (*xml));
    hostSyncEnabled.store (readHostSync (*xml));

    // The name is kept in the tree only through the session, which sanitises it.
    const auto presetName = xml->getStringAttribute ("presetName");
    xml->removeAttribute ("presetName");

    // The compare slots are read once the sound is in place (missing values are the sound's).
    std::unique_ptr<juce::XmlElement> compare;
    if (auto* found = xml->getChildByName (AbCompare::elementTag))
    {
        compare = std::make_unique<juce::XmlElement> (*found);
        xml->deleteAllChildElementsWithTagName (AbCompare::elementTag);
    }

    auto state = juce::ValueTree::fromXml (*xml);
    repairParameterValues (state, parameters);
    parameters.replaceState (state);
    presetSession.markRestored (presetName, parameters);
    abCompare.readFrom (compare.get(), *this);

    // A restored setting is where the sound starts, not a place to glide to.
    startAtSettings.store (true);
    editHistory.forgetOnNextUse();
}

// A preset handed over as a state (a host's preset browser loading a .vstpreset): the sound
// changes, bypass and the tempo settings stay. A damaged preset changes nothing.
void VelbrinLumbraProcessor::restorePreset (const juce::XmlElement& document)
{
    juce::String error;
    const auto setting = presetFromDocument (document, parameters, error);

    if (! setting.has_value())
        return;

    auto state = parameters.copyState();

    for (const auto& [id, value] : setting->values)
        state.getChildWithProperty ("id", id).setProperty ("value", value, nullptr);

    parameters.replaceState (state);
    presetSession.markLoaded (*setting);
    editHistory.forgetOnNextUse();
}
