#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

// Test material for running a kernel beside the JUCE object it replaces: an impulse, white noise,
// two sines and an impulse train, one after the other, and the largest difference in dBFS.
inline juce::AudioBuffer<float> equivalenceSignal (int numChannels, double sampleRate, double seconds)
{
    const auto length = static_cast<int> (seconds * sampleRate);
    juce::AudioBuffer<float> audio (numChannels, length);
    audio.clear();
    juce::Random random (1234);
    const auto quarter = length / 4;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto* samples = audio.getWritePointer (channel);
        samples[0] = 1.0f;

        for (int i = 1; i < quarter; ++i)
            samples[i] = 0.5f * (2.0f * random.nextFloat() - 1.0f);

        for (int i = quarter; i < 2 * quarter; ++i)
        {
            const auto t = static_cast<double> (i) / sampleRate;
            samples[i] = static_cast<float> (0.5 * std::sin (juce::MathConstants<double>::twoPi * 440.0 * t)
                                             + 0.3 * std::sin (juce::MathConstants<double>::twoPi * (3000.0 + 17.0 * channel) * t));
        }

        for (int i = 2 * quarter; i < 3 * quarter; i += 997)
            samples[i] = channel == 0 ? 0.9f : -0.7f;
    }

    return audio;
}

// Runs `process (block, startSample)` over the audio in blocks of `blockSize` (the last one shorter).
inline void forEachBlock (juce::AudioBuffer<float>& audio, int blockSize,
                          const std::function<void (juce::AudioBuffer<float>&, int)>& process)
{
    for (int start = 0; start < audio.getNumSamples(); start += blockSize)
    {
        const auto length = juce::jmin (blockSize, audio.getNumSamples() - start);
        juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), audio.getNumChannels(), start, length);
        process (block, start);
    }
}

// The largest sample difference between two renders, in dBFS (-400 when they are identical).
inline double largestDifferenceDb (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    double largest = 0.0;

    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
        {
            const auto difference = std::abs (static_cast<double> (a.getSample (channel, i)) - b.getSample (channel, i));
            largest = std::isfinite (difference) ? juce::jmax (largest, difference) : 1.0e30;
        }

    return largest > 0.0 ? 20.0 * std::log10 (largest) : -400.0;
}

// Whether a render carries sound at all (so a difference of nothing means something).
inline float peakOf (const juce::AudioBuffer<float>& audio)
{
    return audio.getMagnitude (0, audio.getNumSamples());
}

// The sample rates, channel counts and block sizes every kernel is checked at.
struct EquivalenceCase
{
    double sampleRate;
    int numChannels;
    int blockSize;
};

inline std::vector<EquivalenceCase> equivalenceCases()
{
    std::vector<EquivalenceCase> cases;

    for (const auto rate : { 44100.0, 48000.0, 96000.0 })
        for (const auto channels : { 1, 2 })
            for (const auto block : { 1, 64, 4096 })
                cases.push_back ({ rate, channels, block });

    return cases;
}

inline std::string equivalenceCaseName (const EquivalenceCase& c)
{
    return std::to_string (static_cast<int> (c.sampleRate)) + "Hz_" + (c.numChannels == 1 ? "mono" : "stereo") + "_block"
           + std::to_string (c.blockSize);
}
