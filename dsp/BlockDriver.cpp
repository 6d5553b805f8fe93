// The audio-thread half of the processor: preparation and the block chain.

#include "dsp/DynamicsStage.h"
#include "dsp/EchoStage.h"
#include "dsp/InputGuard.h"
#include "dsp/LevelMeter.h"
#include "dsp/SpaceStage.h"
#include "dsp/ToneStage.h"
#include "dsp/TrimStage.h"
#include "plugin/PluginProcessor.h"

void VelbrinLumbraProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    const auto channels = juce::jmax (1, getTotalNumOutputChannels());
    const juce::dsp::ProcessSpec spec { sampleRate, static_cast<juce::uint32> (juce::jmax (1, samplesPerBlock)),
                                        static_cast<juce::uint32> (channels) };

    preparedSampleRate = sampleRate;
    preparedChannels = channels;

    for (auto* gain : { &inputGain, &outputGain })
    {
        gain->prepare (spec);
        gain->setRampDurationSeconds (0.02);
    }

    lowShelf.prepare (spec);
    highShelf.prepare (spec);
    compressor.prepare (spec);

    prepareSpaceReverb (SpaceKind::a, spaceAReverb, params.spaceAType, spec);
    prepareSpaceReverb (SpaceKind::b, spaceBReverb, params.spaceBType, spec);
    spaceAReverb.reset();
    spaceBReverb.reset();

    echoLine.setMaximumDelayInSamples (static_cast<int> (sampleRate + sampleRate));
    echoLine.prepare (spec);
    echoLine.reset();

    for (auto* line : { &spaceAPreDelayLine, &spaceBPreDelayLine })
    {
        line->setMaximumDelayInSamples (static_cast<int> (sampleRate * 0.6));
        line->prepare (spec);
        line->reset();
    }

    for (auto* scratch : { &dryBuffer, &sendBuffer, &wetBuffer })
        scratch->setSize (channels, static_cast<int> (spec.maximumBlockSize));
}

void VelbrinLumbraProcessor::releaseResources() {}

void VelbrinLumbraProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const auto bypassed = isSwitchOn (params.bypass);
    duplicateMonoInput (buffer);

    if (bypassed)
    {
        publishBypassLevels (buffer);
        return;
    }

    // Channels beyond those the DSP objects were prepared for carry nothing.
    const auto numChannels = juce::jmin (buffer.getNumChannels(), preparedChannels);
    const auto numSamples = buffer.getNumSamples();

    for (int channel = numChannels; channel < buffer.getNumChannels(); ++channel)
        buffer.clear (channel, 0, numSamples);

    if (numSamples == 0 || numChannels == 0)
    {
        inputLevelDb.store (-100.0f);
        outputLevelDb.store (-100.0f);
        gainReductionDb.store (0.0f);
        return;
    }

    silenceNonFiniteSamples (buffer, numChannels, numSamples);
    ensureScratchFits (numChannels, numSamples);
    processChain (buffer, numChannels, numSamples);
}

// The chain, top to bottom as the signal flows.
void VelbrinLumbraProcessor::processChain (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples)
{
    juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), static_cast<size_t> (numChannels),
                                        static_cast<size_t> (numSamples));
    const ReplacingContext context (block);

    applyTrim (inputGain, decibelsToGain (params.inputTrim.load()), block);
    inputLevelDb.store (peakLevelDb (buffer, numSamples));

    runToneStage (lowShelf, highShelf, params, preparedSampleRate, context);
    gainReductionDb.store (runDynamicsStage (compressor, params, context));

    takeSnapshot (buffer, numChannels, numSamples);

    ReturnBuses buses { sendBuffer, wetBuffer, buffer, numChannels, numSamples };
    runSpaceStage (SpaceKind::a, spaceAReverb, spaceAPreDelayLine,
                   { params.spaceAEnabled, params.spaceAMix, params.spaceAType, params.spaceAPreDelay },
                   preparedSampleRate, buses);
    runSpaceStage (SpaceKind::b, spaceBReverb, spaceBPreDelayLine,
                   { params.spaceBEnabled, params.spaceBMix, params.spaceBType, params.spaceBPreDelay },
                   preparedSampleRate, buses);

    if (const auto echoMix = runningEchoMix (params))
        runEchoStage (echoLine, *echoMix, params, getEffectiveBpm(), preparedSampleRate, buses);

    applyBlend (buffer, numChannels, numSamples);

    applyTrim (outputGain, decibelsToGain (params.outputTrim.load()), block);
    outputLevelDb.store (peakLevelDb (buffer, numSamples));
}

// A mono input arrives in channel 0 of a stereo buffer: both sides carry it from here on.
void VelbrinLumbraProcessor::duplicateMonoInput (juce::AudioBuffer<float>& buffer) const
{
    if (getMainBusNumInputChannels() == 1 && buffer.getNumChannels() > 1)
        buffer.copyFrom (1, 0, buffer, 0, 0, buffer.getNumSamples());
}

void VelbrinLumbraProcessor::publishBypassLevels (const juce::AudioBuffer<float>& buffer)
{
    inputLevelDb.store (peakLevelDb (buffer, buffer.getNumSamples()));
    outputLevelDb.store (inputLevelDb.load());
    gainReductionDb.store (0.0f);
}

// The scratch copies grow only when the host sends a longer block or other channels than before.
void VelbrinLumbraProcessor::ensureScratchFits (int numChannels, int numSamples)
{
    if (dryBuffer.getNumSamples() >= numSamples && dryBuffer.getNumChannels() == numChannels)
        return;

    for (auto* scratch : { &dryBuffer, &sendBuffer, &wetBuffer })
        scratch->setSize (numChannels, numSamples, false, false, true);
}

// The post-dynamics signal: the blend's dry path and the feed of every ambience return.
void VelbrinLumbraProcessor::takeSnapshot (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples)
{
    for (int channel = 0; channel < numChannels; ++channel)
    {
        dryBuffer.copyFrom (channel, 0, buffer, channel, 0, numSamples);
        sendBuffer.copyFrom (channel, 0, buffer, channel, 0, numSamples);
    }
}

// out = (1 - b) dry + b out: since out is dry plus the returns, blend sets the returns' level only.
void VelbrinLumbraProcessor::applyBlend (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) const
{
    const auto wet = percentToUnit (params.blend);
    const auto dry = 1.0f - wet;

    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto* out = buffer.getWritePointer (channel);
        const auto* dryIn = dryBuffer.getReadPointer (channel);

        for (int i = 0; i < numSamples; ++i)
            out[i] = dry * dryIn[i] + wet * out[i];
    }
}
