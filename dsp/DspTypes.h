#pragma once

#include <juce_dsp/juce_dsp.h>

// The JUCE building blocks of the chain, named once.
using ShelfFilter = juce::dsp::ProcessorDuplicator<juce::dsp::IIR::Filter<float>, juce::dsp::IIR::Coefficients<float>>;
using FractionalDelayLine = juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::Linear>;
using ReplacingContext = juce::dsp::ProcessContextReplacing<float>;
