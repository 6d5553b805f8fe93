#include "plugin/PresetLoading.h"

#include "plugin/PluginProcessor.h"
#include "plugin/UserPresetLibrary.h"

void loadPreset (VelbrinLumbraProcessor& processor, const PresetSetting& setting)
{
    const EditHistory::Group oneStep (processor.editHistory);

    for (const auto& [id, value] : setting.values)
    {
        if (! soundParameterIds().contains (id))
            continue;

        if (auto* parameter = processor.parameters.getParameter (id))
        {
            parameter->beginChangeGesture();
            parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
            parameter->endChangeGesture();
        }
    }

    processor.presetSession.markLoaded (setting);
}

PresetSetting currentSetting (const VelbrinLumbraProcessor& processor, const juce::String& name)
{
    PresetSetting setting { sanitisePresetName (name), {} };

    for (const auto& id : soundParameterIds())
        if (const auto* raw = processor.parameters.getRawParameterValue (id))
            setting.values.push_back ({ id, raw->load() });

    return setting;
}

bool loadUserPreset (VelbrinLumbraProcessor& processor, const UserPresetLibrary& library, const juce::String& name,
                     juce::String& error)
{
    const auto setting = library.load (name, processor.parameters, error);

    if (! setting.has_value())
        return false;

    loadPreset (processor, *setting);
    return true;
}
