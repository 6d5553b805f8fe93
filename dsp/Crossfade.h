#pragma once

#include "dsp/Glide.h"

// An equal-gain crossfade between two versions of a block, in place in `to`:
// to = (1 - f) from + f to, with f taken from `fade` sample by sample (the same f on every channel).
// At f = 0 the result is exactly `from`, at f = 1 exactly `to`.
inline void crossfadeInPlace (const juce::AudioBuffer<float>& from, juce::AudioBuffer<float>& to, Glide& fade,
                              int numChannels, int numSamples) noexcept
{
    const auto start = fade;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        fade = start;
        const auto* a = from.getReadPointer (channel);
        auto* b = to.getWritePointer (channel);

        for (int i = 0; i < numSamples; ++i)
        {
            const auto f = fade.getNextValue();
            b[i] = (1.0f - f) * a[i] + f * b[i];
        }
    }
}

// Copies the first numChannels x numSamples of a block into a scratch buffer.
inline void copyBlock (const juce::AudioBuffer<float>& source, juce::AudioBuffer<float>& destination, int numChannels,
                       int numSamples) noexcept
{
    for (int channel = 0; channel < numChannels; ++channel)
        destination.copyFrom (channel, 0, source, channel, 0, numSamples);
}
