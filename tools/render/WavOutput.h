#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

// What an integer WAV would lose: samples beyond full scale are clipped flat when written.
struct ClipReport
{
    int clippedSamples = 0; // samples (over all channels) whose magnitude exceeds full scale
    float peak = 0.0f;      // the largest magnitude in the audio, linear
};

ClipReport measureClipping (const juce::AudioBuffer<float>& audio);

// Writes a WAV file: 32 bits is IEEE float, which keeps every level; 16 and 24 bits are integers.
// An integer format that would clip is refused (nothing written) unless `allowClip` is set.
bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bits,
               bool allowClip, juce::String& error);
