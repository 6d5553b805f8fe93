#pragma once

#include "dsp/BlockPeak.h"

#include <juce_audio_basics/juce_audio_basics.h>

// Below this (-140 dBFS) what a stage remembers is silence: clearing it to zeros changes nothing
// that can be heard, even at the loudest gains after it.
constexpr float quietLevel = 1.0e-7f;

// How long one memory has held nothing but quiet samples, up to the length it needs to have
// forgotten everything louder (a delay line's length, a filter's settling time). It only moves
// while its stage runs: a stage that waits keeps what it held, quiet or not.
class QuietSpan
{
public:
    // Sized in samples; a freshly prepared memory holds zeros and starts quiet.
    void prepare (int samplesNeeded) noexcept
    {
        needed = juce::jmax (1, samplesNeeded);
        quietFor = needed;
    }

    // A memory asked to remember further back: it needs that many quiet samples before it is quiet.
    void lengthen (int samplesNeeded) noexcept { needed = juce::jmax (needed, samplesNeeded); }

    void note (bool loud, int numSamples) noexcept { quietFor = loud ? 0 : juce::jmin (needed, quietFor + numSamples); }
    void markCleared() noexcept { quietFor = needed; }
    bool isQuiet() const noexcept { return quietFor >= needed; }

private:
    int needed = 1, quietFor = 1;
};

// Whether a measured peak is loud; a peak that is not a number counts as loud.
inline bool louderThanQuiet (float peak) noexcept { return ! (peak < quietLevel); }
