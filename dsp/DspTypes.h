#pragma once

#include <juce_dsp/juce_dsp.h>

// The JUCE building blocks of the chain, named once.
using ShelfFilter = juce::dsp::ProcessorDuplicator<juce::dsp::IIR::Filter<float>, juce::dsp::IIR::Coefficients<float>>;
using FractionalDelayLine = juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::Linear>;
using ReplacingContext = juce::dsp::ProcessContextReplacing<float>;

// The decibel rule: d dB is 10^(d / 20) above -100 dB, and silence otherwise.
inline float decibelsToGain (float decibels) noexcept
{
    return juce::Decibels::decibelsToGain (decibels);
}

// Below this a mix (0..1) counts as off: its return does not run.
constexpr float minimumRunningMix = 0.0001f;
