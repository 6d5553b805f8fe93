#include "plugin/ParameterLayout.h"

#include "plugin/ParamIDs.h"
#include "plugin/PreDelayText.h"

namespace
{
using Parameters = std::vector<std::unique_ptr<juce::RangedAudioParameter>>;

void addFloat (Parameters& list, const juce::String& id, const juce::String& name,
               float minimum, float maximum, float defaultValue, const juce::String& unit)
{
    list.push_back (std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID { id, 1 }, name, juce::NormalisableRange<float> { minimum, maximum, 0.1f, 1.0f },
        defaultValue, juce::AudioParameterFloatAttributes().withLabel (unit)));
}

// A space's pre-delay: milliseconds, or with its sync on a note value of the tempo in force, both
// in its text and in what typed text means.
void addPreDelay (Parameters& list, const juce::String& id, const juce::String& name, int space,
                  std::shared_ptr<const SyncView> view)
{
    const auto synced = [view, space] { return view != nullptr && view->isSynced (space); };

    auto toText = [view, synced] (float value, int maximumLength)
    {
        return synced() ? preDelayNoteText (value, view->tempo(), maximumLength)
                        : preDelayMillisecondsText (value, maximumLength);
    };

    auto fromText = [synced] (const juce::String& text)
    {
        if (synced())
            if (const auto setting = preDelaySettingForNoteText (text))
                return *setting;

        return text.getFloatValue();
    };

    list.push_back (std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID { id, 1 }, name, juce::NormalisableRange<float> { 0.0f, 500.0f, 0.1f, 1.0f }, 0.0f,
        juce::AudioParameterFloatAttributes()
            .withLabel ("ms")
            .withStringFromValueFunction (std::move (toText))
            .withValueFromStringFunction (std::move (fromText))));
}

void addChoice (Parameters& list, const juce::String& id, const juce::String& name,
                const juce::StringArray& choices)
{
    list.push_back (std::make_unique<juce::AudioParameterChoice> (juce::ParameterID { id, 1 }, name, choices, 0));
}

void addSwitch (Parameters& list, const juce::String& id, const juce::String& name, bool defaultOn)
{
    list.push_back (std::make_unique<juce::AudioParameterBool> (juce::ParameterID { id, 1 }, name, defaultOn));
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout (std::shared_ptr<const SyncView> syncView)
{
    Parameters list;

    addFloat (list, ParamIDs::inputTrim, "Input", -24.0f, 24.0f, 0.0f, "dB");

    addFloat (list, ParamIDs::lowGain, "Low", -12.0f, 12.0f, 0.0f, "dB");
    addChoice (list, ParamIDs::lowMode, "Low Character", { "Warm", "Deep", "Air-Cut" });
    addSwitch (list, ParamIDs::lowEnabled, "Low Enabled", true);
    addFloat (list, ParamIDs::highGain, "High", -12.0f, 12.0f, 0.0f, "dB");
    addChoice (list, ParamIDs::highMode, "High Character", { "Silk", "Sheen", "Crisp" });
    addSwitch (list, ParamIDs::highEnabled, "High Enabled", true);

    addFloat (list, ParamIDs::compAmount, "Dynamics", 0.0f, 100.0f, 0.0f, "%");
    addChoice (list, ParamIDs::compMode, "Dynamics Character", { "Glue", "Snap", "Squash" });
    addChoice (list, ParamIDs::compOversample, "Oversample", { "Off", "2x", "4x" });
    addSwitch (list, ParamIDs::compEnabled, "Dynamics Enabled", true);

    addFloat (list, ParamIDs::spaceAMix, "Space A", 0.0f, 100.0f, 0.0f, "%");
    addChoice (list, ParamIDs::spaceAType, "Space A Type", { "Room", "Hall", "Cathedral" });
    addPreDelay (list, ParamIDs::spaceAPreDelay, "Space A Pre-Delay", 0, syncView);
    addSwitch (list, ParamIDs::spaceAPreDelaySync, "Space A Pre-Delay Sync", false);
    addSwitch (list, ParamIDs::spaceAEnabled, "Space A Enabled", true);

    addFloat (list, ParamIDs::spaceBMix, "Space B", 0.0f, 100.0f, 0.0f, "%");
    addChoice (list, ParamIDs::spaceBType, "Space B Type", { "Close", "Wide", "Vast" });
    addPreDelay (list, ParamIDs::spaceBPreDelay, "Space B Pre-Delay", 1, syncView);
    addSwitch (list, ParamIDs::spaceBPreDelaySync, "Space B Pre-Delay Sync", false);
    addSwitch (list, ParamIDs::spaceBEnabled, "Space B Enabled", true);

    addFloat (list, ParamIDs::echoMix, "Echo", 0.0f, 100.0f, 0.0f, "%");
    addChoice (list, ParamIDs::echoDivision, "Echo Division", { "Slap", "8th", "Quarter" });
    addFloat (list, ParamIDs::echoFeedback, "Echo Feedback", 0.0f, 100.0f, 35.0f, "%");
    addSwitch (list, ParamIDs::echoEnabled, "Echo Enabled", true);

    addFloat (list, ParamIDs::blend, "Blend", 0.0f, 100.0f, 100.0f, "%");
    addFloat (list, ParamIDs::outputTrim, "Output", -60.0f, 24.0f, 0.0f, "dB");
    addSwitch (list, ParamIDs::bypass, "Bypass", false);

    return { list.begin(), list.end() };
}
