#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>
#include <vector>

// How much moving one control adds above 3 kHz to a low sine (100 Hz at -6 dBFS), measured through
// a hosted instance of the module. A smooth change adds almost nothing there; a step, a click or
// zipper noise does.
struct ClickCase
{
    struct Setting
    {
        juce::String id;
        float value; // natural units: dB, %, ms, a choice index, 0/1 for a switch
    };

    juce::String what;
    std::vector<Setting> setup; // held throughout
    juce::String id;            // the control that moves
    float from, to;
    bool ramp; // true: ramped block by block over one second; false: one change
};

struct ClickConditions
{
    double sampleRate = 48000.0;
    int blockSize = 512;
};

struct ClickResult
{
    double changeDb;    // energy above 3 kHz against the total, with the change
    double steadyDb;    // the louder of the two steady settings, without it
    double limitDb;     // the louder of -120 dB and 3 dB above steadyDb
    bool withinLimit() const { return changeDb <= limitDb; }
};

// Every continuous control ramped and every switch and character changed, each with the setting
// that makes it heard.
const std::vector<ClickCase>& clickCases();

// Loads the bundle once per run; nothing and an error when it cannot be loaded.
std::optional<ClickResult> measureClick (const juce::File& bundle, const ClickCase& clickCase,
                                         const ClickConditions& conditions, juce::String& error);
