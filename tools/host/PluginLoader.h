#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

// Loads a VST3 bundle through JUCE's VST3 hosting, as a DAW does. Returns null and fills `error`
// when the bundle cannot be read or holds no plug-in.
std::unique_ptr<juce::AudioPluginInstance> loadVst3Plugin (const juce::File& bundle, double sampleRate,
                                                          int blockSize, juce::String& error);

// The description of the first plug-in in the bundle, or nothing.
std::unique_ptr<juce::PluginDescription> describeVst3Plugin (const juce::File& bundle);
