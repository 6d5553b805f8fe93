#pragma once

#include "plugin/PluginProcessor.h"

#include <cmath>
#include <memory>

// A processor prepared as a host would: a bus layout, a sample rate, a block size.
struct ProcessorHarness
{
    explicit ProcessorHarness (double sampleRate = 48000.0, int blockSize = 512, bool monoInput = false);

    // Sets a parameter in its natural units (dB, %, ms, index, 0/1) as the host would.
    void set (const juce::String& id, float naturalValue);
    float get (const juce::String& id) const;

    // Processes `audio` in place in blocks of `blockSize` samples.
    void process (juce::AudioBuffer<float>& audio, int blockSize);
    void process (juce::AudioBuffer<float>& audio) { process (audio, blockSize); }

    // Runs silence long enough for the start-up fade of the trims to finish.
    void settle();

    std::unique_ptr<VelbrinLumbraProcessor> processor;
    double sampleRate;
    int blockSize;
};

namespace signals
{
juce::AudioBuffer<float> sine (double frequency, double sampleRate, int numSamples, float amplitude = 1.0f,
                               int numChannels = 2);
juce::AudioBuffer<float> impulse (int numSamples, float amplitude = 1.0f, int numChannels = 2);
juce::AudioBuffer<float> noise (int numSamples, int seed = 1, float amplitude = 0.5f, int numChannels = 2);
} // namespace signals

// Peak of samples [start, start + length) of one channel, in dB.
float peakDb (const juce::AudioBuffer<float>& audio, int channel, int start, int length);
// RMS of samples [start, start + length) of one channel, in dB.
float rmsDb (const juce::AudioBuffer<float>& audio, int channel, int start, int length);
bool allFinite (const juce::AudioBuffer<float>& audio);
