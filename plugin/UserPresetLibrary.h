#pragma once

#include "plugin/PresetSetting.h"
#include "plugin/VstPresetFile.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

// The user's own presets: one .vstpreset file each in a folder (by default the VST3 user preset
// folder, which hosts' preset browsers show too), named after the preset.
class UserPresetLibrary
{
public:
    UserPresetLibrary();
    explicit UserPresetLibrary (juce::File folder);

    // The presets present now, by name, sorted (letter case ignored).
    juce::StringArray names() const;

    juce::File fileFor (const juce::String& name) const;

    // Writes the setting under its (sanitised) name, replacing a preset of the same name.
    bool save (const PresetSetting& setting, juce::String& error) const;

    std::optional<PresetSetting> load (const juce::String& name, const juce::AudioProcessorValueTreeState& parameters,
                                       juce::String& error) const;

    bool remove (const juce::String& name, juce::String& error) const;

    const juce::File folder;
};

// A .vstpreset file as bytes for this plug-in.
juce::MemoryBlock presetFileData (const PresetSetting& setting);

// A preset file's setting, read with every guard: nothing is returned unless the whole file is a
// sound preset of this plug-in; `error` then says why. The name is the document's, else `fallbackName`.
std::optional<PresetSetting> readPresetFileData (const void* data, size_t size,
                                                 const juce::AudioProcessorValueTreeState& parameters,
                                                 const juce::String& fallbackName, juce::String& error);

std::optional<PresetSetting> readPresetFile (const juce::File& file, const juce::AudioProcessorValueTreeState& parameters,
                                             juce::String& error);
