#pragma once

#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"
#include "tests/support/FormatHosts.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>
#include <utility>
#include <vector>

// Projects saved by a release, kept as fixtures (tests/fixtures/saved-projects/<release>/): VST3 and
// LV2 states and .vstpreset files at the defaults and at "everything", a setting that moves every
// sound parameter (and, in the states, the tempo) off its default. Each comes with what loading it
// must give: the parameters' texts and the level, 100 ms by 100 ms, of a fixed signal through it.
namespace savedProjects
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;
constexpr double everythingBpm = 97.3;

inline juce::File fixtureRoot() { return juce::File (LUMBRA_SAVED_PROJECTS_DIR); }

// Natural values (dB, %, ms, choice index, 0/1). Both pre-delays are tempo-synced, so the tempo is
// heard. Every stage stays switched on, so that each of its
// settings is heard; the bypass stays off, or nothing else would be.
inline const std::vector<std::pair<juce::String, float>>& everything()
{
    static const std::vector<std::pair<juce::String, float>> values {
        { ParamIDs::inputTrim, 2.5f },      { ParamIDs::lowGain, 4.0f },          { ParamIDs::lowMode, 1.0f },
        { ParamIDs::lowEnabled, 1.0f },     { ParamIDs::highGain, -3.0f },        { ParamIDs::highMode, 2.0f },
        { ParamIDs::highEnabled, 1.0f },    { ParamIDs::compAmount, 55.0f },      { ParamIDs::compMode, 1.0f },
        { ParamIDs::compOversample, 1.0f }, { ParamIDs::compEnabled, 1.0f },      { ParamIDs::spaceAMix, 35.0f },
        { ParamIDs::spaceAType, 2.0f },     { ParamIDs::spaceAPreDelay, 250.0f }, { ParamIDs::spaceAPreDelaySync, 1.0f },
        { ParamIDs::spaceAEnabled, 1.0f },  { ParamIDs::spaceBMix, 25.0f },       { ParamIDs::spaceBType, 1.0f },
        { ParamIDs::spaceBPreDelay, 40.0f }, { ParamIDs::spaceBPreDelaySync, 1.0f }, { ParamIDs::spaceBEnabled, 1.0f },
        { ParamIDs::echoMix, 30.0f },       { ParamIDs::echoDivision, 2.0f },     { ParamIDs::echoFeedback, 55.0f },
        { ParamIDs::echoEnabled, 1.0f },    { ParamIDs::blend, 80.0f },           { ParamIDs::outputTrim, -4.0f },
        { ParamIDs::bypass, 0.0f },
    };
    return values;
}

inline juce::RangedAudioParameter& ownParameter (VelbrinLumbraProcessor& reference, const juce::String& id)
{
    auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (reference.getParameters()[0]);
    for (auto* each : reference.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (each); ranged != nullptr && ranged->getParameterID() == id)
            parameter = ranged;
    return *parameter;
}

inline void applyEverything (juce::AudioPluginInstance& instance)
{
    VelbrinLumbraProcessor reference;
    for (const auto& [id, natural] : everything())
        setNatural (instance, ownParameter (reference, id), natural);
}

// A .vstpreset file handed to a hosted VST3 instance, as a host's preset browser does.
inline bool loadVstPreset (juce::AudioPluginInstance& instance, const juce::MemoryBlock& file)
{
    struct PresetVisitor : public juce::ExtensionsVisitor
    {
        explicit PresetVisitor (const juce::MemoryBlock& data) : data (data) {}
        void visitVST3Client (const VST3Client& client) override { loaded = client.setPreset (data); }
        const juce::MemoryBlock& data;
        bool loaded = false;
    } visitor (file);
    instance.getExtensions (visitor);
    return visitor.loaded;
}

// The command-line host's tone bursts and clicks, three seconds of them, so the spaces and the echo
// are heard; fixed here so the figures never depend on the tool.
inline juce::AudioBuffer<float> signal()
{
    const auto length = static_cast<int> (3.0 * sampleRate);
    juce::AudioBuffer<float> audio (2, length);
    for (int i = 0; i < length; ++i)
    {
        const auto t = i / sampleRate;
        auto value = t < 0.5 ? 0.25 * std::sin (juce::MathConstants<double>::twoPi * 220.0 * t)
                                   + 0.1 * std::sin (juce::MathConstants<double>::twoPi * 3000.0 * t)
                             : 0.0;
        if (i % static_cast<int> (sampleRate * 0.5) == 0)
            value += 0.8;
        audio.setSample (0, i, static_cast<float> (value));
        audio.setSample (1, i, static_cast<float> (value * 0.7));
    }
    return audio;
}

inline juce::AudioBuffer<float> render (juce::AudioPluginInstance& instance)
{
    auto audio = signal();
    processInBlocks (instance, audio, blockSize);
    return audio;
}

// RMS in dBFS of each 100 ms of each channel; quieter than -80 dBFS reads -80, so a tail's last
// whisper (or the idle clearing far below it) never decides a figure.
constexpr float figureFloorDb = -80.0f;
inline std::vector<float> levelFigures (const juce::AudioBuffer<float>& audio)
{
    std::vector<float> figures;
    const auto window = static_cast<int> (sampleRate / 10.0);
    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        for (int start = 0; start + window <= audio.getNumSamples(); start += window)
            figures.push_back (juce::jmax (figureFloorDb, juce::Decibels::gainToDecibels (audio.getRMSLevel (channel, start, window), -200.0f)));
    return figures;
}

// The texts of our 28 parameters (the host's own bypass, last, is left out).
inline juce::StringArray parameterTexts (juce::AudioPluginInstance& instance)
{
    juce::StringArray texts;
    for (int index = 0; index < 28; ++index)
        texts.add (instance.getParameters()[index]->getCurrentValueAsText());
    return texts;
}

// expected/<name>.txt: "param <index> <text>" lines, then "level <n> <dB>" lines.
inline juce::String expectationText (const juce::StringArray& texts, const std::vector<float>& figures)
{
    juce::String text;
    for (int index = 0; index < texts.size(); ++index)
        text << "param " << index << " " << texts[index] << "\n";
    for (size_t n = 0; n < figures.size(); ++n)
        text << "level " << static_cast<int> (n) << " " << juce::String (figures[n], 2) << "\n";
    return text;
}

inline void readExpectation (const juce::File& file, juce::StringArray& texts, std::vector<float>& figures)
{
    juce::StringArray lines;
    lines.addLines (file.loadFileAsString());
    for (const auto& line : lines)
    {
        const auto rest = line.fromFirstOccurrenceOf (" ", false, false).fromFirstOccurrenceOf (" ", false, false);
        if (line.startsWith ("param "))
            texts.add (rest);
        else if (line.startsWith ("level "))
            figures.push_back (rest.getFloatValue());
    }
}
} // namespace savedProjects
