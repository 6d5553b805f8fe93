#pragma once

#include "plugin/PresetSetting.h"

#include <juce_audio_processors/juce_audio_processors.h>

// Which preset the sound came from, and the setting it had then, so the editor can tell whether it
// has been edited since. Lives in the processor (an editor comes and goes); the name travels in the
// saved state. Message thread only, apart from the state calls, which hosts may make elsewhere.
class PresetSession
{
public:
    // Empty until a preset is loaded: the sound then starts from the parameters' defaults.
    juce::String getName() const;

    // A preset was applied: its name and its setting become the reference.
    void markLoaded (const PresetSetting& setting);

    // A saved state was restored with this name: the reference is the setting as restored, or the
    // factory preset of that name when there is one, so edits saved with the project still show.
    void markRestored (const juce::String& name, const juce::AudioProcessorValueTreeState& parameters);

    // The name and reference together, to be put back as they were (undo, the A/B slots).
    struct Snapshot
    {
        juce::String name;
        std::vector<PresetValue> reference;
    };

    Snapshot snapshot() const;
    void restore (const Snapshot& snapshot);

    // True when any sound parameter differs from the reference by half a step or more.
    bool isEdited (const juce::AudioProcessorValueTreeState& parameters) const;

private:
    mutable juce::CriticalSection lock;
    juce::String name;
    std::vector<PresetValue> reference; // empty: the parameters' defaults
};
