#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <gtest/gtest.h>

// What an impulse through the echo must give: the dry impulse at `start`, then repeat k
// (k = 1, 2, ...) at start + k x delay with level x mix x feedback^(k-1), and nothing else.
inline void expectRepeats (const juce::AudioBuffer<float>& audio, int start, float level, int delay, float mix,
                           float feedback, float tolerance = 1.0e-6f)
{
    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
    {
        auto repeat = level * mix;
        for (int i = start; i < audio.getNumSamples(); ++i)
        {
            auto expected = 0.0f;
            if (i == start)
                expected = level;
            else if ((i - start) % delay == 0)
            {
                expected = repeat;
                repeat *= feedback;
            }
            ASSERT_NEAR (audio.getSample (channel, i), expected, tolerance) << "channel " << channel << ", sample " << i;
        }
    }
}

// Where the first repeat after `start` sits, to a fraction of a sample: the linear interpolation
// splits an impulse between the two samples around the delay, in proportion to its fraction.
struct FirstRepeat
{
    double delay;
    float level;
};

inline FirstRepeat firstRepeat (const juce::AudioBuffer<float>& audio, int channel, int start = 0)
{
    for (int i = start + 1; i + 1 < audio.getNumSamples(); ++i)
    {
        const auto here = audio.getSample (channel, i);
        if (here != 0.0f)
        {
            const auto next = audio.getSample (channel, i + 1);
            return { i - start + next / static_cast<double> (here + next), here + next };
        }
    }
    return { -1.0, 0.0f };
}
