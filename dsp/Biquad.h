#pragma once

#include <juce_dsp/juce_dsp.h>

// A second-order section in the transposed direct form II of juce::dsp::IIR::Filter, with the same
// arithmetic in the same order, so it gives the very same samples. The coefficients are JUCE's
// normalised b0 b1 b2 a1 a2, shared by every channel; each channel keeps its own memory.
struct BiquadMemory
{
    float v1 = 0.0f, v2 = 0.0f;

    float process (const float* c, float input) noexcept
    {
        const auto output = input * c[0] + v1;
        v1 = input * c[1] - output * c[3] + v2;
        v2 = input * c[2] - output * c[4];
        return output;
    }

    // As JUCE's filter after a block: a memory too small to matter becomes exactly zero.
    void snapToZero() noexcept
    {
        juce::dsp::util::snapToZero (v1);
        juce::dsp::util::snapToZero (v2);
    }
};

// A block of one channel in place.
inline void processBiquad (const float* c, BiquadMemory& memory, float* samples, int numSamples) noexcept
{
    auto m = memory;

    for (int i = 0; i < numSamples; ++i)
        samples[i] = m.process (c, samples[i]);

    m.snapToZero();
    memory = m;
}

// A block of two channels in one loop: their filters overlap instead of waiting on one another.
inline void processBiquadPair (const float* c, BiquadMemory& leftMemory, BiquadMemory& rightMemory, float* left,
                               float* right, int numSamples) noexcept
{
    auto l = leftMemory, r = rightMemory;

    for (int i = 0; i < numSamples; ++i)
    {
        left[i] = l.process (c, left[i]);
        right[i] = r.process (c, right[i]);
    }

    l.snapToZero();
    r.snapToZero();
    leftMemory = l;
    rightMemory = r;
}
