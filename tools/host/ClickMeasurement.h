#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>
#include <vector>

// How much moving one control adds above 3 kHz to a low sine (100 Hz at -6 dBFS), measured through
// a hosted instance of the module. A smooth change adds almost nothing there; a step, a click or
// zipper noise does.
// Not a parameter: the tempo the host's transport reports, as a control a row can move (in BPM).
inline const juce::String hostTempoControl { "hostTempo" };

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

    // A change that carries the sine over full scale makes the compressor (on at 0 dB by default)
    // engage, and its hard knee adds harmonics however smoothly the level moves there. Such a case
    // names the row that makes the same crossing with the input trim, the smoothest change there is;
    // a row that is itself that reference has no limit of its own.
    juce::String overKneeLike = {};
    bool kneeReference = false;
};

struct ClickConditions
{
    double sampleRate = 48000.0;
    int blockSize = 512;
};

struct ClickResult
{
    double changeDb; // energy above 3 kHz against the total, with the change
    double steadyDb; // the louder of the two steady settings, without it
    double limitDb;  // the louder of -120 dB and 3 dB above steadyDb (or above the knee reference)
    bool isReference = false;
    bool withinLimit() const { return isReference || changeDb <= limitDb; }
};

// Every continuous control ramped and every switch and character changed, each with the setting
// that makes it heard.
const std::vector<ClickCase>& clickCases();

// One result per case of clickCases(), in order; nothing and an error when the bundle cannot be loaded.
std::optional<std::vector<ClickResult>> measureClicks (const juce::File& bundle, const ClickConditions& conditions,
                                                       juce::String& error);
