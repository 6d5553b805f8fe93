#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <complex>

// Runs samples [start, start + length) of `audio` through a processor as one host block.
inline void processSlice (juce::AudioProcessor& processor, juce::AudioBuffer<float>& audio, int start, int length)
{
    juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), audio.getNumChannels(), start, length);
    juce::MidiBuffer midi;
    processor.processBlock (view, midi);
}

// Magnitude in dB, at one frequency, of the spectrum of an impulse response (one channel).
inline double responseDb (const juce::AudioBuffer<float>& impulseResponse, int channel, double frequency,
                          double sampleRate)
{
    const auto* samples = impulseResponse.getReadPointer (channel);
    const auto step = std::polar (1.0, -juce::MathConstants<double>::twoPi * frequency / sampleRate);
    std::complex<double> rotation { 1.0, 0.0 }, sum { 0.0, 0.0 };

    for (int i = 0; i < impulseResponse.getNumSamples(); ++i)
    {
        sum += static_cast<double> (samples[i]) * rotation;
        rotation *= step;
    }

    return 20.0 * std::log10 (std::abs (sum));
}
