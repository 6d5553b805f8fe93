#pragma once

#include "plugin/PresetSetting.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

// A preset as the plug-in's own state block: the same container and document as a saved project,
// holding the sound parameters and the preset's name, marked as a preset and without the tempo
// settings. Restoring it as a state (a host loading a preset file) changes the sound only.
juce::MemoryBlock presetStateBlock (const PresetSetting& setting);

// True for a document written by presetStateBlock.
bool isPresetDocument (const juce::XmlElement& root);

// The setting a state document holds, read strictly: every sound parameter must be there with a
// finite number inside its range, or the whole document is refused and `error` says why. A saved
// project state is read as well (its bypass and tempo are left out).
std::optional<PresetSetting> presetFromDocument (const juce::XmlElement& root,
                                                 const juce::AudioProcessorValueTreeState& parameters,
                                                 juce::String& error);

// The same from a state block, read with the state loader's guards.
std::optional<PresetSetting> presetFromStateBlock (const void* data, size_t sizeInBytes,
                                                   const juce::AudioProcessorValueTreeState& parameters,
                                                   juce::String& error);
