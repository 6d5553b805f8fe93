#include "plugin/PresetSession.h"

#include "plugin/FactoryPresets.h"

namespace
{
// Float parameters move in steps of 0.1; choices and switches in steps of 1.
constexpr float sameValueTolerance = 0.05f;

float valueOf (const juce::AudioProcessorValueTreeState& parameters, const juce::String& id)
{
    const auto* raw = parameters.getRawParameterValue (id);
    return raw != nullptr ? raw->load() : 0.0f;
}

float defaultOf (const juce::AudioProcessorValueTreeState& parameters, const juce::String& id)
{
    const auto* parameter = parameters.getParameter (id);
    return parameter != nullptr ? parameter->convertFrom0to1 (parameter->getDefaultValue()) : 0.0f;
}
} // namespace

juce::String PresetSession::getName() const
{
    const juce::ScopedLock held (lock);
    return name;
}

void PresetSession::markLoaded (const PresetSetting& setting)
{
    const juce::ScopedLock held (lock);
    name = sanitisePresetName (setting.name);
    reference = setting.values;
}

void PresetSession::markRestored (const juce::String& restoredName, const juce::AudioProcessorValueTreeState& parameters)
{
    std::vector<PresetValue> restored;

    if (restoredName.isNotEmpty())
    {
        if (const auto* factory = findFactoryPreset (restoredName))
            restored = factory->setting.values;
        else
            for (const auto& id : soundParameterIds())
                restored.push_back ({ id, valueOf (parameters, id) });
    }

    const juce::ScopedLock held (lock);
    name = sanitisePresetName (restoredName);
    reference = std::move (restored);
}

PresetSession::Snapshot PresetSession::snapshot() const
{
    const juce::ScopedLock held (lock);
    return { name, reference };
}

void PresetSession::restore (const Snapshot& snapshot)
{
    const juce::ScopedLock held (lock);
    name = sanitisePresetName (snapshot.name);
    reference = snapshot.reference;
}

bool PresetSession::isEdited (const juce::AudioProcessorValueTreeState& parameters) const
{
    const juce::ScopedLock held (lock);

    if (reference.empty())
    {
        for (const auto& id : soundParameterIds())
            if (std::abs (valueOf (parameters, id) - defaultOf (parameters, id)) >= sameValueTolerance)
                return true;
        return false;
    }

    for (const auto& [id, value] : reference)
        if (std::abs (valueOf (parameters, id) - value) >= sameValueTolerance)
            return true;

    return false;
}
