#pragma once

#include <juce_dsp/juce_dsp.h>

#include <cmath>

// Input or output trim: a 20 ms linear glide to the new gain (a gain that is not a finite number
// is refused, and the glide keeps its course). JUCE's gain keeps one float per sample on the stack
// while it glides, so very long (offline) blocks go through in slices.
inline void applyTrim (juce::dsp::Gain<float>& gain, float linearGain, juce::dsp::AudioBlock<float> block)
{
    constexpr size_t maxSliceLength = 2048;

    if (std::isfinite (linearGain))
        gain.setGainLinear (linearGain);

    for (size_t start = 0; start < block.getNumSamples(); start += maxSliceLength)
    {
        auto slice = block.getSubBlock (start, juce::jmin (maxSliceLength, block.getNumSamples() - start));
        gain.process (juce::dsp::ProcessContextReplacing<float> (slice));
    }
}

// Puts a trim at a gain at once, with no glide.
inline void jumpTrim (juce::dsp::Gain<float>& gain, float linearGain)
{
    if (! std::isfinite (linearGain))
        return;

    gain.setGainLinear (linearGain);
    gain.reset();
}
