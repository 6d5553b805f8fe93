#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// Peak of the first numSamples of every channel, in dBFS with a floor of -100 dB.
float peakLevelDb (const juce::AudioBuffer<float>& buffer, int numSamples) noexcept;

// A peak magnitude in dBFS with a floor of -100 dB.
float peakToLevelDb (float peak) noexcept;
