#pragma once

#include <juce_core/juce_core.h>

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

private:
    float constantFor (float milliseconds) const noexcept
    {
        return milliseconds < 1.0e-3f ? 0.0f : static_cast<float> (std::exp (expFactor / milliseconds));
    }

    std::vector<float> state { 0.0f, 0.0f };
    double expFactor = -0.142;
    float attackMs = 1.0f, releaseMs = 100.0f, attack = 0.0f, release = 0.0f;
};
