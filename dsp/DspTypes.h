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

// 20 log10 (gain) for a gain above zero, taken through log2: the maths library works that out in
// one short step, where its log10 goes through two more calls.
inline float gainToDecibels (float gain) noexcept
{
    constexpr auto decibelsPerOctave = 6.02059991f; // 20 log10 (2)
    return decibelsPerOctave * std::log2 (gain);
}

// Below this a mix (0..1) counts as off: its return does not run.
constexpr float minimumRunningMix = 0.0001f;
