#pragma once

#include "tools/host/PluginLoader.h"

#include <gtest/gtest.h>

// The two built bundles of the same plug-in, each loaded through JUCE's own hosting of its format.
inline juce::File builtVst3Bundle() { return juce::File (LUMBRA_VST3_BUNDLE); }
inline juce::File builtLv2Bundle() { return juce::File (LUMBRA_LV2_BUNDLE); }

inline std::unique_ptr<juce::AudioPluginInstance> loadPrepared (const juce::File& bundle, double sampleRate,
                                                                int blockSize, bool monoInput = false)
{
    juce::String error;
    auto instance = loadPlugin (bundle, sampleRate, blockSize, error);
    EXPECT_NE (instance, nullptr) << error;
    if (instance != nullptr)
    {
        const auto stereo = juce::AudioChannelSet::stereo();
        if (! (monoInput && instance->setBusesLayout ({ { juce::AudioChannelSet::mono() }, { stereo } })))
            instance->setBusesLayout ({ { stereo }, { stereo } });
        instance->prepareToPlay (sampleRate, blockSize);
    }
    return instance;
}

// Whether the instance took a mono input bus (the VST3 module does; the LV2 ports are stereo).
inline bool hasMonoInput (const juce::AudioPluginInstance& instance)
{
    return instance.getTotalNumInputChannels() == 1;
}

// Runs `audio` (two channels) through in blocks. `monoSource` feeds the first channel as a mono
// source: to a mono bus as it is, to a stereo bus on both inputs, as a host wires a mono track.
inline void processInBlocks (juce::AudioPluginInstance& instance, juce::AudioBuffer<float>& audio, int blockSize,
                             bool monoSource = false)
{
    if (monoSource)
    {
        if (hasMonoInput (instance))
            audio.clear (1, 0, audio.getNumSamples());
        else
            audio.copyFrom (1, 0, audio, 0, 0, audio.getNumSamples());
    }

    juce::MidiBuffer midi;
    for (int start = 0; start < audio.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), 2, start,
                                       juce::jmin (blockSize, audio.getNumSamples() - start));
        instance.processBlock (view, midi);
    }
}

// The hosted parameter at our own index, set in the parameter's natural units (dB, %, ms, choice
// index, 0/1): both formats list our 28 parameters first, in our order, over the same ranges.
inline void setNatural (juce::AudioPluginInstance& instance, const juce::RangedAudioParameter& own, float natural)
{
    instance.getParameters()[own.getParameterIndex()]->setValueNotifyingHost (own.convertTo0to1 (natural));
}
