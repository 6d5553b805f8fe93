#pragma once

#include "tools/host/PluginLoader.h"

#include <gtest/gtest.h>

// The built module, loaded through JUCE's VST3 hosting as a DAW loads it.
inline juce::File builtBundle() { return juce::File (LUMBRA_VST3_BUNDLE); }

class Vst3Fixture : public ::testing::Test
{
protected:
    void SetUp() override { plugin = load (48000.0, 512); }

    std::unique_ptr<juce::AudioPluginInstance> load (double sampleRate, int blockSize, bool monoInput = false)
    {
        juce::String error;
        auto instance = loadVst3Plugin (builtBundle(), sampleRate, blockSize, error);
        EXPECT_NE (instance, nullptr) << error;
        if (instance != nullptr)
        {
            juce::AudioProcessor::BusesLayout layout;
            layout.inputBuses.add (monoInput ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo());
            layout.outputBuses.add (juce::AudioChannelSet::stereo());
            instance->setBusesLayout (layout);
            instance->prepareToPlay (sampleRate, blockSize);
        }
        return instance;
    }

    // The parameter with this display name; the first one when two share it ("Bypass").
    juce::AudioProcessorParameter* parameterNamed (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* parameter : instance.getParameters())
            if (parameter->getName (256) == name)
                return parameter;
        return nullptr;
    }

    void process (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& audio, int blockSize)
    {
        juce::MidiBuffer midi;
        for (int start = 0; start < audio.getNumSamples(); start += blockSize)
        {
            juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), audio.getNumChannels(), start,
                                           juce::jmin (blockSize, audio.getNumSamples() - start));
            instance.processBlock (view, midi);
        }
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
};
