#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <emmintrin.h>

// The largest magnitude among a channel's samples in one pass, four at a time; not a number if any
// sample is not one, so a measured peak never hides a broken signal.
inline float channelPeak (const float* samples, int numSamples) noexcept
{
    const auto magnitudeBits = _mm_castsi128_ps (_mm_set1_epi32 (0x7fffffff));
    auto largest = _mm_setzero_ps();
    auto broken = _mm_setzero_ps();
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
    {
        const auto x = _mm_loadu_ps (samples + i);
        largest = _mm_max_ps (largest, _mm_and_ps (x, magnitudeBits));
        broken = _mm_or_ps (broken, _mm_cmpunord_ps (x, x));
    }

    alignas (16) float lanes[4];
    _mm_store_ps (lanes, largest);
    auto peak = juce::jmax (lanes[0], lanes[1], lanes[2], lanes[3]);
    auto anyBroken = _mm_movemask_ps (broken) != 0;

    for (; i < numSamples; ++i)
    {
        const auto magnitude = std::abs (samples[i]);
        peak = juce::jmax (peak, magnitude);
        anyBroken = anyBroken || std::isnan (magnitude);
    }

    return anyBroken ? std::numeric_limits<float>::quiet_NaN() : peak;
}

// The largest magnitude in the first numChannels x numSamples of a block.
inline float peakMagnitude (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    auto peak = 0.0f;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto channelLargest = channelPeak (buffer.getReadPointer (channel), numSamples);

        if (std::isnan (channelLargest))
            return channelLargest;

        peak = juce::jmax (peak, channelLargest);
    }

    return peak;
}
