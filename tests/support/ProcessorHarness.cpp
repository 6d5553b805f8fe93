#include "tests/support/ProcessorHarness.h"

ProcessorHarness::ProcessorHarness (double rate, int block, bool monoInput)
    : processor (std::make_unique<VelbrinLumbraProcessor>()), sampleRate (rate), blockSize (block)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (monoInput ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo());
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    processor->setBusesLayout (layout);
    processor->prepareToPlay (sampleRate, blockSize);
}

void ProcessorHarness::set (const juce::String& id, float naturalValue)
{
    auto* parameter = processor->parameters.getParameter (id);
    jassert (parameter != nullptr);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (naturalValue));
}

float ProcessorHarness::get (const juce::String& id) const
{
    return processor->parameters.getRawParameterValue (id)->load();
}

void ProcessorHarness::process (juce::AudioBuffer<float>& audio, int block)
{
    juce::MidiBuffer midi;

    for (int start = 0; start < audio.getNumSamples(); start += block)
    {
        const auto length = juce::jmin (block, audio.getNumSamples() - start);
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), audio.getNumChannels(), start, length);
        processor->processBlock (view, midi);
    }
}

void ProcessorHarness::settle()
{
    juce::AudioBuffer<float> silence (2, static_cast<int> (sampleRate * 0.05));
    silence.clear();
    process (silence);
}

namespace signals
{
juce::AudioBuffer<float> sine (double frequency, double sampleRate, int numSamples, float amplitude, int numChannels)
{
    juce::AudioBuffer<float> audio (numChannels, numSamples);
    for (int i = 0; i < numSamples; ++i)
    {
        const auto value = amplitude * static_cast<float> (std::sin (juce::MathConstants<double>::twoPi * frequency * i / sampleRate));
        for (int channel = 0; channel < numChannels; ++channel)
            audio.setSample (channel, i, value);
    }
    return audio;
}

juce::AudioBuffer<float> impulse (int numSamples, float amplitude, int numChannels)
{
    juce::AudioBuffer<float> audio (numChannels, numSamples);
    audio.clear();
    for (int channel = 0; channel < numChannels; ++channel)
        audio.setSample (channel, 0, amplitude);
    return audio;
}

juce::AudioBuffer<float> noise (int numSamples, int seed, float amplitude, int numChannels)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> audio (numChannels, numSamples);
    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            audio.setSample (channel, i, amplitude * (2.0f * random.nextFloat() - 1.0f));
    return audio;
}
} // namespace signals

float peakDb (const juce::AudioBuffer<float>& audio, int channel, int start, int length)
{
    return juce::Decibels::gainToDecibels (audio.getMagnitude (channel, start, length), -200.0f);
}

float rmsDb (const juce::AudioBuffer<float>& audio, int channel, int start, int length)
{
    return juce::Decibels::gainToDecibels (audio.getRMSLevel (channel, start, length), -200.0f);
}

bool allFinite (const juce::AudioBuffer<float>& audio)
{
    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            if (! std::isfinite (audio.getSample (channel, i)))
                return false;
    return true;
}
