#pragma once

#include "plugin/PresetSetting.h"

class VelbrinLumbraProcessor;

// Applies a preset as the user's own edit: each parameter it names is set through the host in a
// gesture of its own (begin, set, end), so hosts record the change and can undo it. Bypass and the
// tempo settings are left alone. The preset's name becomes the session's.
void loadPreset (VelbrinLumbraProcessor& processor, const PresetSetting& setting);

// The current sound as a preset named `name`.
PresetSetting currentSetting (const VelbrinLumbraProcessor& processor, const juce::String& name);

class UserPresetLibrary;

// Reads a user preset and, only when the whole file is sound, loads it. Returns false with `error`
// saying why otherwise; nothing is changed then.
bool loadUserPreset (VelbrinLumbraProcessor& processor, const UserPresetLibrary& library, const juce::String& name,
                     juce::String& error);
