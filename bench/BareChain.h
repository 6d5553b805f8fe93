#pragma once

#include "bench/TypicalSettings.h"
#include "dsp/DspTypes.h"

// The floor the chain is measured against: the same JUCE objects, configured once, called back to
// back on the block with only the copies the routing needs (snapshot, one wet copy per space) and
// the two peak readings. No parameter is read and no setting is pushed per block.
class BareChain
{
public:
    void prepare (const TypicalSettings& settings, double sampleRate, int maximumBlockSize, bool withEcho);
    void process (juce::AudioBuffer<float>& buffer);

    float inputPeak = 0.0f, outputPeak = 0.0f;

private:
    void runSpace (juce::dsp::Reverb& reverb, FractionalDelayLine& preDelayLine, int numSamples);
    void runEcho (juce::AudioBuffer<float>& buffer, int numSamples);
    void blend (juce::AudioBuffer<float>& buffer, int numSamples);

    juce::dsp::Gain<float> inputGain, outputGain;
    ShelfFilter lowShelf, highShelf;
    juce::dsp::Compressor<float> compressor;
    juce::dsp::Reverb spaceAReverb, spaceBReverb;
    FractionalDelayLine spaceAPreDelayLine, spaceBPreDelayLine, echoLine;
    juce::AudioBuffer<float> dryBuffer, sendBuffer, wetBuffer;
    float makeupGain = 1.0f, blendAmount = 1.0f, echoMix = 0.0f, echoFeedback = 0.0f;
    bool echoEngaged = false;
};
