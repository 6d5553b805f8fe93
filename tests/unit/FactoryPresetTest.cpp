// The factory bank: complete, applied in full, and musically sane on program-like signals.

#include "plugin/FactoryPresets.h"
#include "plugin/ParamIDs.h"
#include "plugin/PresetLoading.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/ReferenceSignals.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
float peakOf (const juce::AudioBuffer<float>& audio, int start, int length)
{
    return juce::jmax (audio.getMagnitude (0, start, length), audio.getMagnitude (1, start, length));
}

float dbOf (float gain) { return juce::Decibels::gainToDecibels (gain, -200.0f); }

// A value of the parameter that is not `avoid`: the far end of its range.
float otherValue (const juce::RangedAudioParameter& parameter, float avoid)
{
    const auto& range = parameter.getNormalisableRange();
    return avoid - range.start > range.end - avoid ? range.start : range.end;
}
} // namespace

TEST (FactoryPresets, TheBankCoversEverySourceWithCompleteSettingsInsideTheRanges)
{
    const auto& bank = factoryPresets();
    ASSERT_GE (bank.size(), 14u);
    ASSERT_LE (bank.size(), 20u);

    VelbrinLumbraProcessor reference;
    std::set<juce::String> names, categories;

    for (const auto& preset : bank)
    {
        SCOPED_TRACE (preset.setting.name);
        EXPECT_TRUE (names.insert (preset.setting.name.toLowerCase()).second) << "names are unique";
        EXPECT_EQ (sanitisePresetName (preset.setting.name), preset.setting.name);
        EXPECT_TRUE (preset.intent.isNotEmpty());
        categories.insert (preset.category);

        juce::StringArray seen;
        for (const auto& [id, value] : preset.setting.values)
        {
            auto* parameter = reference.parameters.getParameter (id);
            ASSERT_NE (parameter, nullptr) << id;
            EXPECT_NE (id, ParamIDs::bypass);
            EXPECT_FALSE (seen.contains (id)) << id << " set twice";
            seen.add (id);

            const auto& range = parameter->getNormalisableRange();
            EXPECT_GE (value, range.start) << id;
            EXPECT_LE (value, range.end) << id;
            EXPECT_NEAR (range.snapToLegalValue (value), value, 1.0e-4f) << id << " is not on a step";
        }
        EXPECT_EQ (seen.size(), reference.getParameters().size() - 1) << "every parameter but bypass";
    }

    EXPECT_EQ (categories, (std::set<juce::String> { "Vocals", "Drums", "Bass", "Guitars", "Keys", "Busses", "Ambience" }));
}

TEST (FactoryPresets, LoadingOneSetsEveryParameterItNamesAndLeavesBypassAndTempo)
{
    for (const auto& preset : factoryPresets())
    {
        SCOPED_TRACE (preset.setting.name);
        ProcessorHarness harness;
        auto& processor = *harness.processor;

        // Every parameter starts away from the preset's value, so none can pass by chance.
        for (const auto& [id, value] : preset.setting.values)
            harness.set (id, otherValue (*processor.parameters.getParameter (id), value));
        harness.set (ParamIDs::bypass, 1.0f);
        processor.setManualBpm (97.0f);
        processor.hostSyncEnabled.store (false);

        loadPreset (processor, preset.setting);

        for (const auto& [id, value] : preset.setting.values)
            EXPECT_NEAR (harness.get (id), value, 1.0e-4f) << id;
        EXPECT_EQ (harness.get (ParamIDs::bypass), 1.0f);
        EXPECT_EQ (processor.manualBpm.load(), 97.0f);
        EXPECT_FALSE (processor.hostSyncEnabled.load());

        EXPECT_EQ (processor.presetSession.getName(), preset.setting.name);
        EXPECT_FALSE (processor.presetSession.isEdited (processor.parameters));
        harness.set (ParamIDs::bypass, 0.0f);
        EXPECT_FALSE (processor.presetSession.isEdited (processor.parameters)) << "bypass is no edit of the sound";
        harness.set (ParamIDs::outputTrim, preset.setting.values.back().value + 0.1f);
        EXPECT_TRUE (processor.presetSession.isEdited (processor.parameters));
    }
}

// Output peak within -6 to +3 dB of the input's, every sample finite, and the returns dying away
// once the input stops: over the last half second the output is at least 6 dB below the half
// second after the input ended (or already below -60 dBFS).
TEST (FactoryPresets, EveryPresetIsSaneOnToneDrumAndVoiceSignalsAt44And96kHz)
{
    using Maker = juce::AudioBuffer<float> (*) (double, double);
    const std::pair<const char*, Maker> signalsToTry[] = {
        { "tone and clicks", referenceSignals::toneAndClicks },
        { "drums", referenceSignals::drums },
        { "voice", referenceSignals::voice },
    };
    constexpr double signalSeconds = 2.0, tailSeconds = 3.0;

    for (const auto rate : { 44100.0, 96000.0 })
        for (const auto& [signalName, make] : signalsToTry)
        {
            const auto input = make (rate, signalSeconds);
            const auto inputPeakDb = dbOf (peakOf (input, 0, input.getNumSamples()));

            for (const auto& preset : factoryPresets())
            {
                SCOPED_TRACE (preset.setting.name + " on " + signalName + " at " + juce::String (rate));
                ProcessorHarness harness (rate, 256);
                loadPreset (*harness.processor, preset.setting);

                juce::AudioBuffer<float> audio (2, static_cast<int> (rate * (signalSeconds + tailSeconds)));
                audio.clear();
                for (int channel = 0; channel < 2; ++channel)
                    audio.copyFrom (channel, 0, input, channel, 0, input.getNumSamples());
                harness.process (audio);

                ASSERT_TRUE (allFinite (audio));
                const auto outputPeakDb = dbOf (peakOf (audio, 0, audio.getNumSamples()));
                EXPECT_GE (outputPeakDb - inputPeakDb, -6.0f);
                EXPECT_LE (outputPeakDb - inputPeakDb, 3.0f);

                const auto halfSecond = static_cast<int> (rate * 0.5);
                const auto afterInput = dbOf (peakOf (audio, input.getNumSamples(), halfSecond));
                const auto last = dbOf (peakOf (audio, audio.getNumSamples() - halfSecond, halfSecond));
                EXPECT_TRUE (last < -60.0f || last <= afterInput - 6.0f) << last << " dB at the end, " << afterInput
                                                                         << " dB after the input";
            }
        }
}
