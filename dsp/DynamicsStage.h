#pragma once

#include "dsp/DspTypes.h"
#include "dsp/Glide.h"
#include "dsp/PeakEnvelope.h"
#include "dsp/QuietSpan.h"

struct CompressorCharacter
{
    float ratio;
    float attackMs;
    float releaseMs;
};

// Ratio and ballistics of each character; an index outside the table reads as "Glue".
CompressorCharacter compressorCharacter (int index) noexcept;

struct DynamicsSettings
{
    bool enabled = true;
    int character = 0;
    float amount = 0.0f; // 0..1
    int oversampling = 0; // 0: the host rate, 1: twice, 2: four times it

    bool operator== (const DynamicsSettings&) const = default;
};

// The one-knob compressor with its makeup gain: a peak detector with attack and release ballistics,
// a hard knee and no look-ahead. The amount glides (threshold falling 24 dB while the makeup rises
// 6 dB, both in decibels); a new character glides its ratio and crosses over from the envelope of
// the old ballistics to that of the new (a character asked for during a crossover waits for it to
// end); switching the stage crosses over from the unprocessed signal. Once off it stops, and its
// envelope keeps its value and resumes from it.
class DynamicsStage
{
public:
    void prepare (const juce::dsp::ProcessSpec& spec);
    void setTargets (const DynamicsSettings& settings, bool jump) noexcept;

    // `scratch` holds the unprocessed block while the stage crosses over. Returns the block's
    // largest gain reduction in dB (0 or more, makeup left out); 0 while the stage is off.
    float process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
                   int numSamples) noexcept;

    // For idling: whether the stage runs and its envelope is still above -140 dBFS, and a zero
    // envelope in place of a quiet one.
    bool holdsSound() const noexcept;
    void clear() noexcept;

    // Whether a character asked for waits for the crossover before it to end.
    bool awaitsCharacter() const noexcept { return wantedCharacter != character; }

    // Carries on from another stage's envelope (one running at another rate), so a stage that
    // takes over from it starts with the gain it had instead of rising from nothing.
    void continueFrom (const DynamicsStage& other) noexcept;

private:
    // Each returns the smallest gain the compressor applied in the block.
    float compress (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;
    float compressAtRest (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;
    float compressStereoAtRest (juce::AudioBuffer<float>& buffer, int numSamples) noexcept;
    float compressWhileMoving (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;
    void useCharacter (int index) noexcept;
    void startCharacterCrossover() noexcept;

    static constexpr int runCapacity = 256;

    // While the character crosses over, `outgoingEnvelope` carries on with the old ballistics.
    PeakEnvelope envelope, outgoingEnvelope;
    DecibelGlide thresholdInverse, makeupGain;
    Glide gainExponent, onAmount, characterFade;
    float threshold = 1.0f; // the setting's threshold as a gain, compared as it is once arrived
    float settingMakeup = 1.0f; // the makeup gain of that amount
    float amountOfThreshold = -1.0f; // the amount `threshold` and `settingMakeup` were worked out for
    int character = -1, wantedCharacter = 0;
    float envelopeLevel = 0.0f; // the envelope's largest value over the channels at the end of the last block
};
