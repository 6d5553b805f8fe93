#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

// Loads a plug-in bundle through JUCE's own hosting, as a DAW does: a `.vst3` bundle through the
// VST3 format, a `.lv2` bundle through the LV2 format. Returns null and fills `error` when the
// bundle cannot be read or holds no plug-in.
std::unique_ptr<juce::AudioPluginInstance> loadPlugin (const juce::File& bundle, double sampleRate, int blockSize,
                                                       juce::String& error);

std::unique_ptr<juce::AudioPluginInstance> loadVst3Plugin (const juce::File& bundle, double sampleRate,
                                                          int blockSize, juce::String& error);

std::unique_ptr<juce::AudioPluginInstance> loadLv2Plugin (const juce::File& bundle, double sampleRate,
                                                         int blockSize, juce::String& error);

bool isLv2Bundle (const juce::File& bundle);

// The description of the first plug-in in the bundle, or nothing.
std::unique_ptr<juce::PluginDescription> describeVst3Plugin (const juce::File& bundle);

// The URI of the plug-in that an LV2 bundle's manifest declares, or an empty string.
juce::String lv2PluginUriOf (const juce::File& bundle);
