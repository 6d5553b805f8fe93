#include "dsp/DynamicsStage.h"

#include "dsp/CompressorGain.h"
#include "dsp/Crossfade.h"

#include <cmath>

namespace
{
// The threshold as a gain, as the hard-knee gain computer compares it with the envelope.
float thresholdGain (float amount) noexcept
{
    return juce::Decibels::decibelsToGain (-24.0f * amount, -200.0f);
}

// Above the threshold the gain is (envelope / threshold)^(1 / ratio - 1).
float exponentFor (float ratio) noexcept
{
    return 1.0f / ratio - 1.0f;
}

float reductionDb (float smallestGain) noexcept
{
    return smallestGain < 1.0f ? -gainToDecibels (juce::jmax (smallestGain, 1.0e-6f)) : 0.0f;
}
} // namespace

CompressorCharacter compressorCharacter (int index) noexcept
{
    switch (index)
    {
        case 1: return { 4.0f, 5.0f, 80.0f };  // "Snap"
        case 2: return { 8.0f, 1.0f, 400.0f }; // "Squash"
        default: return { 2.0f, 30.0f, 250.0f }; // "Glue"
    }
}

void DynamicsStage::prepare (const juce::dsp::ProcessSpec& spec)
{
    envelope.prepare (spec.sampleRate, static_cast<int> (spec.numChannels));
    outgoingEnvelope.prepare (spec.sampleRate, static_cast<int> (spec.numChannels));
    envelopeLevel = 0.0f;
    prepareGlide (characterFade, spec.sampleRate, 1.0f);
    prepareGlide (thresholdInverse, spec.sampleRate, thresholdInverse.getTargetValue() > 0.0f ? thresholdInverse.getTargetValue() : 1.0f);
    prepareGlide (makeupGain, spec.sampleRate, makeupGain.getTargetValue() > 0.0f ? makeupGain.getTargetValue() : 1.0f);
    prepareGlide (gainExponent, spec.sampleRate, gainExponent.getTargetValue());
    prepareGlide (onAmount, spec.sampleRate, onAmount.getTargetValue());
    character = -1;
}

void DynamicsStage::setTargets (const DynamicsSettings& settings, bool jump) noexcept
{
    const auto amount = std::isfinite (settings.amount) ? juce::jlimit (0.0f, 1.0f, settings.amount) : 0.0f;
    const auto chosen = compressorCharacter (settings.character);

    // While the stage is off, nothing of it is heard: its settings are taken as they are.
    const auto waiting = jump || restsAtZero (onAmount);
    glideTo (onAmount, settings.enabled ? 1.0f : 0.0f, jump);

    // Worked out again only when the amount moves: a block that keeps it costs no power function.
    if (amount != amountOfThreshold)
    {
        amountOfThreshold = amount;
        threshold = thresholdGain (amount);
        settingMakeup = decibelsToGain (6.0f * amount);
    }

    glideTo (thresholdInverse, 1.0f / threshold, waiting);
    glideTo (makeupGain, settingMakeup, waiting);
    glideTo (gainExponent, exponentFor (chosen.ratio), waiting);

    wantedCharacter = settings.character;
    if (waiting)
    {
        characterFade.setCurrentAndTargetValue (1.0f);
        useCharacter (wantedCharacter);
    }
    else
    {
        startCharacterCrossover();
    }
}

void DynamicsStage::useCharacter (int index) noexcept
{
    if (index == character)
        return;

    const auto chosen = compressorCharacter (index);
    character = index;
    envelope.setAttackTime (chosen.attackMs);
    envelope.setReleaseTime (chosen.releaseMs);
}

// New ballistics change how fast the envelope moves at once, which bends the gain with a kink: the
// old envelope carries on while the gain crosses over to the one that follows the new ballistics.
void DynamicsStage::startCharacterCrossover() noexcept
{
    if (characterFade.isSmoothing() || wantedCharacter == character)
        return;

    outgoingEnvelope = envelope; // same channel count as prepared: nothing is allocated
    useCharacter (wantedCharacter);
    characterFade.setCurrentAndTargetValue (0.0f);
    characterFade.setTargetValue (1.0f);
}

float DynamicsStage::process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
                              int numSamples) noexcept
{
    if (restsAtZero (onAmount))
        return 0.0f;

    if (! onAmount.isSmoothing())
        return reductionDb (compress (buffer, numChannels, numSamples));

    copyBlock (buffer, scratch, numChannels, numSamples);
    const auto smallestGain = compress (buffer, numChannels, numSamples);
    crossfadeInPlace (scratch, buffer, onAmount, numChannels, numSamples);
    return reductionDb (smallestGain);
}

float DynamicsStage::compress (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    if (thresholdInverse.isSmoothing() || makeupGain.isSmoothing() || gainExponent.isSmoothing()
        || characterFade.isSmoothing())
        return compressWhileMoving (buffer, numChannels, numSamples);

    return compressAtRest (buffer, numChannels, numSamples);
}

// A run at a time: the envelope first, then the gains, then the samples.
float DynamicsStage::compressAtRest (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    const auto inverse = thresholdInverse.getTargetValue();
    const auto exponent = gainExponent.getTargetValue();
    const auto makeup = makeupGain.getTargetValue();
    auto smallestGain = 1.0f;
    float gains[runCapacity];
    envelopeLevel = 0.0f;

    if (numChannels == 2)
        return compressStereoAtRest (buffer, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto* samples = buffer.getWritePointer (channel);
        auto env = 0.0f;

        for (int start = 0; start < numSamples; start += runCapacity)
        {
            const auto n = juce::jmin (runCapacity, numSamples - start);
            auto* x = samples + start;
            envelope.process (channel, x, gains, n);
            env = gains[n - 1];
            compressorGain::compute (gains, threshold, inverse, exponent, gains, n);

            for (int i = 0; i < n; ++i)
            {
                smallestGain = juce::jmin (smallestGain, gains[i]);
                x[i] = makeup * (gains[i] * x[i]);
            }
        }

        envelopeLevel = juce::jmax (envelopeLevel, env);
    }

    return smallestGain;
}

// Both channels' envelopes in one loop, then each channel's gains and samples.
float DynamicsStage::compressStereoAtRest (juce::AudioBuffer<float>& buffer, int numSamples) noexcept
{
    const auto inverse = thresholdInverse.getTargetValue();
    const auto exponent = gainExponent.getTargetValue();
    const auto makeup = makeupGain.getTargetValue();
    auto smallestGain = 1.0f;
    float gains[2][runCapacity];
    float lastEnvelope[2] = { 0.0f, 0.0f };
    auto* left = buffer.getWritePointer (0);
    auto* right = buffer.getWritePointer (1);

    for (int start = 0; start < numSamples; start += runCapacity)
    {
        const auto n = juce::jmin (runCapacity, numSamples - start);
        envelope.processPair (left + start, right + start, gains[0], gains[1], n);

        for (int channel = 0; channel < 2; ++channel)
        {
            auto* x = (channel == 0 ? left : right) + start;
            auto* g = gains[channel];
            lastEnvelope[channel] = g[n - 1];
            compressorGain::compute (g, threshold, inverse, exponent, g, n);

            for (int i = 0; i < n; ++i)
            {
                smallestGain = juce::jmin (smallestGain, g[i]);
                x[i] = makeup * (g[i] * x[i]);
            }
        }
    }

    envelopeLevel = juce::jmax (lastEnvelope[0], lastEnvelope[1]);
    return smallestGain;
}

float DynamicsStage::compressWhileMoving (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept
{
    auto smallestGain = 1.0f;
    const auto startInverse = thresholdInverse;
    const auto startMakeup = makeupGain;
    const auto startExponent = gainExponent;
    const auto startFade = characterFade;
    const auto crossing = characterFade.isSmoothing();
    float envelopes[runCapacity], outgoingEnvelopes[runCapacity];
    envelopeLevel = 0.0f;
    auto gainFor = [] (float env, float inverse, float exponent)
    {
        const auto overThreshold = env * inverse;
        return overThreshold < 1.0f ? 1.0f : compressorGain::power (overThreshold, exponent);
    };

    for (int channel = 0; channel < numChannels; ++channel)
    {
        thresholdInverse = startInverse;
        makeupGain = startMakeup;
        gainExponent = startExponent;
        characterFade = startFade;
        auto* samples = buffer.getWritePointer (channel);
        auto env = 0.0f;

        for (int start = 0; start < numSamples; start += runCapacity)
        {
            const auto n = juce::jmin (runCapacity, numSamples - start);
            auto* x = samples + start;
            envelope.process (channel, x, envelopes, n);
            env = envelopes[n - 1];

            if (crossing)
                outgoingEnvelope.process (channel, x, outgoingEnvelopes, n);

            for (int i = 0; i < n; ++i)
            {
                const auto inverse = thresholdInverse.getNextValue();
                const auto exponent = gainExponent.getNextValue();
                auto gain = gainFor (envelopes[i], inverse, exponent);

                if (crossing)
                {
                    const auto outgoing = gainFor (outgoingEnvelopes[i], inverse, exponent);
                    gain = outgoing + characterFade.getNextValue() * (gain - outgoing);
                }

                smallestGain = juce::jmin (smallestGain, gain);
                x[i] = makeupGain.getNextValue() * (gain * x[i]);
            }
        }

        envelopeLevel = juce::jmax (envelopeLevel, env);
    }

    return smallestGain;
}

void DynamicsStage::continueFrom (const DynamicsStage& other) noexcept
{
    envelope.takeLevels (other.envelope);
    envelopeLevel = other.envelopeLevel;
}

// Silent input only lets the envelope fall, so its value at the end of a block is its largest from then on.
bool DynamicsStage::holdsSound() const noexcept
{
    return ! restsAtZero (onAmount) && louderThanQuiet (envelopeLevel);
}

void DynamicsStage::clear() noexcept
{
    if (louderThanQuiet (envelopeLevel))
        return;

    envelope.reset();
    envelopeLevel = 0.0f;
}
