#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

// One `--set name=value` from the command line: an identifier or display name, in natural units.
struct ParameterAssignment
{
    juce::String name;
    juce::String value;
};

struct RenderArguments
{
    juce::String command;            // "info", "render", "generate", "save-state"
    juce::File plugin;               // the .vst3 bundle
    juce::File input, output;
    juce::File loadState, saveState;
    std::optional<double> sampleRate;
    int blockSize = 512;
    bool mono = false;               // generate: one channel; render: feed only the first channel
    double seconds = 2.0;            // generate: length of the test signal
    std::vector<ParameterAssignment> assignments;
};

// Parses argv; returns nothing and fills `error` with a one-line reason when the words are off.
std::optional<RenderArguments> parseArguments (const juce::StringArray& args, juce::String& error);

juce::String usageText();
