#pragma once

#include "dsp/DspTypes.h"
#include "dsp/ReturnBuses.h"

#include <atomic>

enum class SpaceKind
{
    a,
    b
};

// The parameters one space reads.
struct SpaceControls
{
    const std::atomic<float>& enabled;
    const std::atomic<float>& mix;
    const std::atomic<float>& type;
    const std::atomic<float>& preDelay;
};

// One reverb space with its pre-delay: a wet-only return of the send copy added to the main buffer.
void runSpaceStage (SpaceKind kind, juce::dsp::Reverb& reverb, FractionalDelayLine& preDelayLine,
                    const SpaceControls& controls, double sampleRate, ReturnBuses& buses);
