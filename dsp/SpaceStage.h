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

// The reverb settings of a space's type at a mix (0..1): wet only. An index outside the table
// reads as the last row.
juce::dsp::Reverb::Parameters spaceSettings (SpaceKind kind, int typeIndex, float mix) noexcept;

// Sizes a space's reverb for the spec, silent: its gains start from zero, so the first block it runs
// fades in from nothing instead of gliding down from the reverb's own dry default.
void prepareSpaceReverb (SpaceKind kind, juce::dsp::Reverb& reverb, const std::atomic<float>& type,
                         const juce::dsp::ProcessSpec& spec);

// One reverb space with its pre-delay: a wet-only return of the send copy added to the main buffer.
// It runs while switched on with its mix above 0.01 %; otherwise its tail and pre-delay wait.
void runSpaceStage (SpaceKind kind, juce::dsp::Reverb& reverb, FractionalDelayLine& preDelayLine,
                    const SpaceControls& controls, double sampleRate, ReturnBuses& buses);
