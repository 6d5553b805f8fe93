#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Applies the factory or user preset of this name to the hosted plug-in as a host's preset browser
// does: as a VST3 preset file handed to JUCE's hosting. False with `error` when there is none.
bool applyPreset (juce::AudioPluginInstance& plugin, const juce::String& name, juce::String& error);
