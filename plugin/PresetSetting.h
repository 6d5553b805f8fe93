#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// One parameter of a preset, in its natural units (dB, %, ms, choice index, 0/1).
struct PresetValue
{
    juce::String id;
    float value;
};

// A complete setting of the sound: every parameter but bypass. The tempo settings are not part of
// the sound, so a preset never carries them.
struct PresetSetting
{
    juce::String name;
    std::vector<PresetValue> values;
};

// The identifiers a preset sets, in the parameter layout's order: all but bypass.
const juce::StringArray& soundParameterIds();

// A preset name as shown and stored: printable characters only, none that a file name cannot
// hold (/ \ : * ? " < > |), trimmed and at most `maximumPresetNameLength` characters. Names read
// from saved states and files pass through it, so a hostile name is never shown or used as a path.
constexpr int maximumPresetNameLength = 48;
juce::String sanitisePresetName (const juce::String& name);
