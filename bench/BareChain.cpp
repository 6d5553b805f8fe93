#include "bench/BareChain.h"

#include "dsp/DynamicsStage.h"
#include "dsp/SpaceStage.h"
#include "dsp/ToneStage.h"

void BareChain::prepare (const TypicalSettings& settings, double sampleRate, int maximumBlockSize, bool withEcho)
{
    const juce::dsp::ProcessSpec spec { sampleRate, static_cast<juce::uint32> (maximumBlockSize), 2 };
    using Design = juce::dsp::IIR::ArrayCoefficients<float>;

    for (auto* gain : { &inputGain, &outputGain })
    {
        gain->prepare (spec);
        gain->setRampDurationSeconds (0.02);
    }
    inputGain.setGainDecibels (settings.inputTrimDb);
    outputGain.setGainDecibels (settings.outputTrimDb);

    *lowShelf.state = Design::makeLowShelf (sampleRate, lowShelfCornerHz (settings.lowMode), 0.7071f,
                                            juce::Decibels::decibelsToGain (settings.lowGainDb));
    *highShelf.state = Design::makeHighShelf (sampleRate, highShelfCornerHz (settings.highMode), 0.7071f,
                                              juce::Decibels::decibelsToGain (settings.highGainDb));
    lowShelf.prepare (spec);
    highShelf.prepare (spec);

    const auto amount = settings.compAmountPercent / 100.0f;
    const auto character = compressorCharacter (settings.compMode);
    compressor.setThreshold (-24.0f * amount);
    compressor.setRatio (character.ratio);
    compressor.setAttack (character.attackMs);
    compressor.setRelease (character.releaseMs);
    compressor.prepare (spec);
    makeupGain = juce::Decibels::decibelsToGain (6.0f * amount);

    spaceAReverb.setParameters (spaceSettings (SpaceKind::a, settings.spaceAType, settings.spaceAMixPercent / 100.0f));
    spaceBReverb.setParameters (spaceSettings (SpaceKind::b, settings.spaceBType, settings.spaceBMixPercent / 100.0f));
    for (auto* reverb : { &spaceAReverb, &spaceBReverb })
    {
        reverb->prepare (spec);
        reverb->reset();
    }

    for (auto* line : { &spaceAPreDelayLine, &spaceBPreDelayLine })
    {
        line->setMaximumDelayInSamples (static_cast<int> (sampleRate * 0.6));
        line->prepare (spec);
    }
    spaceAPreDelayLine.setDelay (static_cast<float> (sampleRate) * settings.spaceAPreDelayMs * 0.001f);
    spaceBPreDelayLine.setDelay (static_cast<float> (sampleRate) * settings.spaceBPreDelayMs * 0.001f);

    // The 8th note at 120 BPM: 250 ms.
    echoLine.setMaximumDelayInSamples (static_cast<int> (2.0 * sampleRate));
    echoLine.prepare (spec);
    echoLine.setDelay (static_cast<float> (sampleRate) * 0.25f);
    echoEngaged = withEcho;
    echoMix = settings.echoMixPercent / 100.0f;
    echoFeedback = settings.echoFeedbackPercent / 100.0f;
    blendAmount = settings.blendPercent / 100.0f;

    for (auto* scratch : { &dryBuffer, &sendBuffer, &wetBuffer })
        scratch->setSize (2, maximumBlockSize);
}

void BareChain::process (juce::AudioBuffer<float>& buffer)
{
    juce::ScopedNoDenormals noDenormals;
    const auto numSamples = buffer.getNumSamples();
    juce::dsp::AudioBlock<float> block (buffer);
    const ReplacingContext context (block);

    inputGain.process (context);
    inputPeak = buffer.getMagnitude (0, numSamples);

    lowShelf.process (context);
    highShelf.process (context);
    compressor.process (context);
    block.multiplyBy (makeupGain);

    for (int channel = 0; channel < 2; ++channel)
    {
        dryBuffer.copyFrom (channel, 0, buffer, channel, 0, numSamples);
        sendBuffer.copyFrom (channel, 0, buffer, channel, 0, numSamples);
    }

    runSpace (spaceAReverb, spaceAPreDelayLine, numSamples);
    for (int channel = 0; channel < 2; ++channel)
        buffer.addFrom (channel, 0, wetBuffer, channel, 0, numSamples);
    runSpace (spaceBReverb, spaceBPreDelayLine, numSamples);
    for (int channel = 0; channel < 2; ++channel)
        buffer.addFrom (channel, 0, wetBuffer, channel, 0, numSamples);

    if (echoEngaged)
        runEcho (buffer, numSamples);

    blend (buffer, numSamples);
    outputGain.process (context);
    outputPeak = buffer.getMagnitude (0, numSamples);
}

void BareChain::runSpace (juce::dsp::Reverb& reverb, FractionalDelayLine& preDelayLine, int numSamples)
{
    for (int channel = 0; channel < 2; ++channel)
        wetBuffer.copyFrom (channel, 0, sendBuffer, channel, 0, numSamples);

    juce::dsp::AudioBlock<float> wetBlock (wetBuffer.getArrayOfWritePointers(), 2, static_cast<size_t> (numSamples));
    const ReplacingContext context (wetBlock);
    preDelayLine.process (context);
    reverb.process (context);
}

void BareChain::runEcho (juce::AudioBuffer<float>& buffer, int numSamples)
{
    for (int channel = 0; channel < 2; ++channel)
    {
        const auto* send = sendBuffer.getReadPointer (channel);
        auto* out = buffer.getWritePointer (channel);

        for (int i = 0; i < numSamples; ++i)
        {
            const auto repeat = echoLine.popSample (channel);
            echoLine.pushSample (channel, send[i] + echoFeedback * repeat);
            out[i] += echoMix * repeat;
        }
    }
}

void BareChain::blend (juce::AudioBuffer<float>& buffer, int numSamples)
{
    const auto dry = 1.0f - blendAmount;

    for (int channel = 0; channel < 2; ++channel)
    {
        auto* out = buffer.getWritePointer (channel);
        const auto* dryIn = dryBuffer.getReadPointer (channel);

        for (int i = 0; i < numSamples; ++i)
            out[i] = dry * dryIn[i] + blendAmount * out[i];
    }
}
