#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// What an ambience return works with: it reads the send copy, may use the wet scratch buffer,
// and adds its output into the main buffer, over the block's channels and samples.
struct ReturnBuses
{
    const juce::AudioBuffer<float>& send;
    juce::AudioBuffer<float>& wet;
    juce::AudioBuffer<float>& main;
    int numChannels;
    int numSamples;

    // The send copy's largest magnitude in this block where the chain may be about to idle;
    // otherwise left loud, and the returns need not measure anything.
    float sendPeak = 1.0f;
};
