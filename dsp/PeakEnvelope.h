#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <vector>

// The compressor's peak detector, the same filter as juce::dsp::BallisticsFilter in its peak mode
// (y = |x| + c (y - |x|), c the attack constant while |x| rises above y, the release one otherwise),
// run over a whole run of samples in one inlined loop instead of one call per sample.
class PeakEnvelope
{
public:
    // Resets every channel to zero.
    void prepare (double sampleRate, int numChannels)
    {
        expFactor = -2.0 * juce::MathConstants<double>::pi * 1000.0 / sampleRate;
        setAttackTime (attackMs);
        setReleaseTime (releaseMs);
        state.assign (static_cast<size_t> (numChannels), 0.0f);
    }

    void reset() noexcept { std::fill (state.begin(), state.end(), 0.0f); }

    // Carries on from another detector's levels (one prepared for as many channels, at any rate):
    // a level means the same at every rate, only the ballistics' constants differ.
    void takeLevels (const PeakEnvelope& other) noexcept
    {
        std::copy_n (other.state.begin(), juce::jmin (state.size(), other.state.size()), state.begin());
    }

    void setAttackTime (float milliseconds) noexcept
    {
        attackMs = milliseconds;
        attack = constantFor (milliseconds);
    }

    void setReleaseTime (float milliseconds) noexcept
    {
        releaseMs = milliseconds;
        release = constantFor (milliseconds);
    }

    // envelope[i] follows |input[i]|; the two may be the same array.
    void process (int channel, const float* input, float* envelope, int numSamples) noexcept
    {
        auto y = state[static_cast<size_t> (channel)];
        const auto up = attack, down = release;

        for (int i = 0; i < numSamples; ++i)
        {
            const auto x = std::abs (input[i]);
            const auto c = x > y ? up : down;
            y = x + c * (y - x);
            envelope[i] = y;
        }

        state[static_cast<size_t> (channel)] = y;
    }

    // Two channels side by side (channels 0 and 1): their filters overlap instead of waiting on
    // one another.
    void processPair (const float* input0, const float* input1, float* envelope0, float* envelope1,
                      int numSamples) noexcept
    {
        auto y0 = state[0], y1 = state[1];
        const auto up = attack, down = release;

        for (int i = 0; i < numSamples; ++i)
        {
            const auto x0 = std::abs (input0[i]);
            const auto x1 = std::abs (input1[i]);
            const auto c0 = x0 > y0 ? up : down;
            const auto c1 = x1 > y1 ? up : down;
            y0 = x0 + c0 * (y0 - x0);
            y1 = x1 + c1 * (y1 - x1);
            envelope0[i] = y0;
            envelope1[i] = y1;
        }

        state[0] = y0;
        state[1] = y1;
    }

private:
    float constantFor (float milliseconds) const noexcept
    {
        return milliseconds < 1.0e-3f ? 0.0f : static_cast<float> (std::exp (expFactor / milliseconds));
    }

    std::vector<float> state { 0.0f, 0.0f };
    double expFactor = -0.142;
    float attackMs = 1.0f, releaseMs = 100.0f, attack = 0.0f, release = 0.0f;
};
