#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

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
    juce::String command;            // "info", "render", "generate", "save-state", "snapshot", "clicks", "presets",
                                     // "save-preset", "null"
    juce::File plugin;               // the .vst3 or .lv2 bundle
    juce::File input, output;
    juce::File loadState, saveState;
    juce::File against;              // null: the file the --in file is compared with
    double nullLimitDb = -120.0;     // null: the largest difference that still counts as a null
    std::optional<double> sampleRate;
    int blockSize = 512;
    bool mono = false;               // generate: one channel; render: feed only the first channel
    int bits = 32;                   // render, generate: WAV sample format (32 is float, 16 and 24 integer)
    bool allowClip = false;          // render, generate: write an integer file even where it clips
    std::optional<double> seconds;   // generate: length of the test signal; snapshot: time shown first
    std::optional<int> width, height; // snapshot: window size to ask the editor for
    std::optional<double> toneDb;    // snapshot: level of a sine played through before opening
    std::optional<juce::Point<int>> hover; // snapshot: where the pointer rests, in editor coordinates
    std::vector<juce::Point<int>> clicks;  // snapshot: where to click, in editor coordinates, in order
    // snapshot: keys to press ("ctrl+z", "shift+tab", "up"), each after the clicks given before it
    std::vector<std::pair<size_t, juce::String>> keys;
    juce::String preset;             // a factory or user preset applied before the --set assignments
    juce::String presetName;         // save-preset: the name stored in the file (default: its file name)
    std::vector<ParameterAssignment> assignments;
};

// Parses argv; returns nothing and fills `error` with a one-line reason when the words are off.
std::optional<RenderArguments> parseArguments (const juce::StringArray& args, juce::String& error);

juce::String usageText();
