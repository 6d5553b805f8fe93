#pragma once

#include "plugin/PresetSetting.h"

#include <vector>

// A preset of the factory bank: its setting, the kind of source it is made for (shown as a
// heading in the preset menu) and what it sets out to do.
struct FactoryPreset
{
    PresetSetting setting;
    juce::String category;
    juce::String intent;
};

// The bank, compiled into the plug-in, in menu order (grouped by category).
const std::vector<FactoryPreset>& factoryPresets();

// The factory preset with this name (letter case ignored), or null.
const FactoryPreset* findFactoryPreset (const juce::String& name);
