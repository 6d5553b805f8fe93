#pragma once

#include "dsp/ChainSettings.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// The raw-value atomic of every parameter, resolved once at construction so the audio thread
// never looks a parameter up by name. Each holds the value in natural units (dB, %, ms, index, 0/1).
struct ParameterHandles
{
    explicit ParameterHandles (juce::AudioProcessorValueTreeState& state);

    std::atomic<float>& inputTrim;
    std::atomic<float>& lowGain;
    std::atomic<float>& lowMode;
    std::atomic<float>& lowEnabled;
    std::atomic<float>& highGain;
    std::atomic<float>& highMode;
    std::atomic<float>& highEnabled;
    std::atomic<float>& compAmount;
    std::atomic<float>& compMode;
    std::atomic<float>& compEnabled;
    std::atomic<float>& compOversample;
    std::atomic<float>& spaceAMix;
    std::atomic<float>& spaceAType;
    std::atomic<float>& spaceAPreDelay;
    std::atomic<float>& spaceAPreDelaySync;
    std::atomic<float>& spaceAEnabled;
    std::atomic<float>& spaceBMix;
    std::atomic<float>& spaceBType;
    std::atomic<float>& spaceBPreDelay;
    std::atomic<float>& spaceBPreDelaySync;
    std::atomic<float>& spaceBEnabled;
    std::atomic<float>& echoMix;
    std::atomic<float>& echoDivision;
    std::atomic<float>& echoFeedback;
    std::atomic<float>& echoEnabled;
    std::atomic<float>& blend;
    std::atomic<float>& outputTrim;
    std::atomic<float>& bypass;

    // Every value the chain needs for one block, each parameter loaded once, with the tempo in force
    // (not a parameter) for the echo and the synced pre-delays. For the audio thread (or one thread
    // at a time): it remembers the trims' last conversions.
    ChainSettings read (double bpm = 120.0) noexcept;

private:
    // A trim's gain, worked out again only when its decibels move: a block costs no power function.
    struct TrimGain
    {
        float decibels = 0.0f, gain = 1.0f;

        float of (float newDecibels) noexcept;
    };

    TrimGain inputGain, outputGain;
};

// How the chain reads raw values.
inline bool isSwitchOn (const std::atomic<float>& raw) noexcept { return raw.load() > 0.5f; }
inline float percentToUnit (const std::atomic<float>& raw) noexcept { return raw.load() / 100.0f; }

// A choice's raw value truncated to an index; anything not finite or outside 0..2 reads as -1 so
// the stage falls back to the row it names, and no NaN is ever converted to an integer.
inline int choiceIndex (const std::atomic<float>& raw) noexcept
{
    const auto value = raw.load();
    return (value >= 0.0f && value < 3.0f) ? static_cast<int> (value) : -1;
}
