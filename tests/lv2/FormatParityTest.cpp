// The LV2 bundle and the VST3 module are the same plug-in: the same parameters, and the same audio
// for the same settings, each loaded through JUCE's own hosting of its format.

#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"
#include "tests/support/FixedPlayHead.h"
#include "tests/support/FormatHosts.h"
#include "tests/support/ProcessorHarness.h"

#include <iostream>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;

class FormatParity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        vst3 = loadPrepared (builtVst3Bundle(), sampleRate, blockSize);
        lv2 = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
        ASSERT_NE (vst3, nullptr);
        ASSERT_NE (lv2, nullptr);
    }

    const juce::RangedAudioParameter& own (const juce::String& id)
    {
        return *reference.parameters.getParameter (id);
    }

    VelbrinLumbraProcessor reference;
    std::unique_ptr<juce::AudioPluginInstance> vst3, lv2;
};

float textAsNumber (const juce::AudioProcessorParameter& parameter, float normalised)
{
    return parameter.getText (normalised, 256).getFloatValue();
}
} // namespace

TEST_F (FormatParity, ParameterListsMatch)
{
    const auto& vst3Parameters = vst3->getParameters();
    const auto& lv2Parameters = lv2->getParameters();
    ASSERT_GE (lv2Parameters.size(), 28);
    ASSERT_GE (vst3Parameters.size(), 28);

    for (int index = 0; index < 28; ++index)
    {
        const auto& v = *vst3Parameters[index];
        const auto& l = *lv2Parameters[index];
        SCOPED_TRACE (v.getName (256).toStdString());

        EXPECT_EQ (l.getName (256), v.getName (256));
        EXPECT_EQ (l.isDiscrete(), v.isDiscrete());
        EXPECT_EQ (l.isBoolean(), reference.getParameters()[index]->isBoolean()); // VST3 has no switch flag
        EXPECT_NEAR (l.getDefaultValue(), v.getDefaultValue(), 1.0e-6f);
        EXPECT_NEAR (l.getValue(), v.getValue(), 1.0e-6f);

        if (v.isDiscrete())
        {
            ASSERT_EQ (l.getNumSteps(), v.getNumSteps());
            for (int step = 0; step < v.getNumSteps(); ++step)
            {
                const auto normalised = static_cast<float> (step) / static_cast<float> (v.getNumSteps() - 1);
                EXPECT_EQ (l.getText (normalised, 256), v.getText (normalised, 256));
            }
        }
        else
        {
            // Ranges and the mapping between: the same natural value at both ends and in between.
            for (const auto normalised : { 0.0f, 0.25f, 0.5f, 1.0f })
                EXPECT_NEAR (textAsNumber (l, normalised), textAsNumber (v, normalised), 0.051f) << normalised;
        }
    }
}

namespace
{
struct NullCase
{
    const char* name;
    std::vector<std::pair<juce::String, float>> settings;
    std::optional<double> hostBpm;
    bool mono = false;
};

std::vector<NullCase> nullCases()
{
    return {
    { "every stage at work",
      { { ParamIDs::inputTrim, -3.0f }, { ParamIDs::lowGain, 4.5f }, { ParamIDs::lowMode, 1.0f },
        { ParamIDs::highGain, -2.0f }, { ParamIDs::highMode, 2.0f }, { ParamIDs::compAmount, 60.0f },
        { ParamIDs::compMode, 1.0f }, { ParamIDs::spaceAMix, 40.0f }, { ParamIDs::spaceAType, 1.0f },
        { ParamIDs::spaceAPreDelay, 25.0f }, { ParamIDs::spaceBMix, 42.0f }, { ParamIDs::spaceBType, 2.0f },
        { ParamIDs::spaceBPreDelay, 80.0f }, { ParamIDs::echoMix, 30.0f }, { ParamIDs::echoDivision, 1.0f },
        { ParamIDs::echoFeedback, 55.0f }, { ParamIDs::blend, 70.0f }, { ParamIDs::outputTrim, -1.5f } },
      std::nullopt },
    { "echo on the host's tempo",
      { { ParamIDs::echoMix, 60.0f }, { ParamIDs::echoDivision, 2.0f }, { ParamIDs::echoFeedback, 40.0f } },
      98.5 },
    { "mono input",
      { { ParamIDs::lowGain, -6.0f }, { ParamIDs::spaceAMix, 35.0f }, { ParamIDs::echoMix, 25.0f } },
      std::nullopt, true },
    { "bypass on", { { ParamIDs::bypass, 1.0f }, { ParamIDs::inputTrim, 12.0f }, { ParamIDs::spaceBMix, 80.0f } },
      std::nullopt },
    { "stages switched off",
      { { ParamIDs::lowEnabled, 0.0f }, { ParamIDs::highEnabled, 0.0f }, { ParamIDs::compEnabled, 0.0f },
        { ParamIDs::spaceAEnabled, 0.0f }, { ParamIDs::lowGain, 9.0f }, { ParamIDs::compAmount, 90.0f },
        { ParamIDs::spaceAMix, 90.0f }, { ParamIDs::echoMix, 50.0f } },
      std::nullopt },
    };
}

juce::AudioBuffer<float> testSignal()
{
    auto audio = signals::noise (static_cast<int> (sampleRate * 1.5), 7, 0.3f);
    for (int i = 0; i < audio.getNumSamples(); i += 12000)
        for (int channel = 0; channel < 2; ++channel)
            audio.setSample (channel, i, 0.9f);
    return audio;
}

// The largest difference between two renders, in dB relative to full scale (-400 when identical).
double residualDb (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    double largest = 0.0;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
            largest = std::max (largest, std::abs (static_cast<double> (a.getSample (channel, i)) - b.getSample (channel, i)));
    return largest > 0.0 ? 20.0 * std::log10 (largest) : -400.0;
}
} // namespace

TEST_F (FormatParity, TheSameSettingsRenderTheSameThroughBothFormats)
{
    for (const auto& nullCase : nullCases())
    {
        SCOPED_TRACE (nullCase.name);
        std::vector<juce::AudioBuffer<float>> renders;

        for (const auto& bundle : { builtVst3Bundle(), builtLv2Bundle() })
        {
            auto instance = loadPrepared (bundle, sampleRate, blockSize, nullCase.mono);
            ASSERT_NE (instance, nullptr);
            FixedPlayHead playHead;
            playHead.bpm = nullCase.hostBpm;
            instance->setPlayHead (&playHead);

            for (const auto& [id, value] : nullCase.settings)
                setNatural (*instance, own (id), value);

            auto audio = testSignal();
            processInBlocks (*instance, audio, blockSize, nullCase.mono);
            instance->setPlayHead (nullptr);
            renders.push_back (audio);
        }

        const auto residual = residualDb (renders[0], renders[1]);
        std::cout << "[ null ] " << nullCase.name << ": LV2 - VST3 peak difference " << residual << " dB, output peak "
                  << juce::Decibels::gainToDecibels (renders[0].getMagnitude (0, renders[0].getNumSamples())) << " dBFS"
                  << std::endl;
        EXPECT_LT (residual, -120.0);
        EXPECT_GT (renders[0].getMagnitude (0, renders[0].getNumSamples()), 0.01f) << "a render that is silent proves nothing";
    }
}

// The host tempo reaches the LV2 plug-in: the same settings with another host tempo sound different.
TEST_F (FormatParity, TheHostTempoReachesTheLv2Echo)
{
    std::vector<juce::AudioBuffer<float>> renders;
    for (const auto bpm : { 98.5, 140.0 })
    {
        auto instance = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
        FixedPlayHead playHead;
        playHead.bpm = bpm;
        instance->setPlayHead (&playHead);
        setNatural (*instance, own (ParamIDs::echoMix), 80.0f);
        setNatural (*instance, own (ParamIDs::echoDivision), 2.0f);
        // An impulse after the start-up fade; its first repeat lies a quarter note, 60/bpm s, later.
        constexpr int impulseAt = 4800;
        juce::AudioBuffer<float> audio (2, static_cast<int> (sampleRate));
        audio.clear();
        audio.setSample (0, impulseAt, 1.0f);
        audio.setSample (1, impulseAt, 1.0f);
        processInBlocks (*instance, audio, blockSize);
        instance->setPlayHead (nullptr);

        const auto repeat = impulseAt + static_cast<int> (std::round (60.0 / bpm * sampleRate));
        EXPECT_GT (peakDb (audio, 0, repeat - 2, 5), -30.0f) << bpm;
        renders.push_back (audio);
    }
    EXPECT_GT (residualDb (renders[0], renders[1]), -40.0);
}

// At every Oversample setting both formats report the same latency, and an impulse through each
// arrives exactly that late. The VST3 module tells its host on the message thread; the LV2 one
// writes its latency port after every block.
TEST_F (FormatParity, BothReportTheLatencyAnImpulseTakes)
{
    for (int setting = 0; setting < 3; ++setting)
    {
        SCOPED_TRACE (setting);
        auto& oversample = own (ParamIDs::compOversample);
        setNatural (*vst3, oversample, static_cast<float> (setting));
        setNatural (*lv2, oversample, static_cast<float> (setting));

        std::vector<int> arrivals;
        for (auto* instance : { vst3.get(), lv2.get() })
        {
            juce::AudioBuffer<float> audio (2, 8 * blockSize);
            audio.clear();
            processInBlocks (*instance, audio, blockSize); // the setting arrives with a block
            juce::MessageManager::getInstance()->runDispatchLoopUntil (200);

            audio.clear();
            audio.setSample (0, 4 * blockSize, 0.5f);
            audio.setSample (1, 4 * blockSize, 0.5f);
            processInBlocks (*instance, audio, blockSize);
            const auto peak = audio.findMinMax (0, 0, audio.getNumSamples()).getEnd();
            auto loudest = 0;
            for (int i = 0; i < audio.getNumSamples(); ++i)
                if (audio.getSample (0, i) == peak)
                    loudest = i;
            arrivals.push_back (loudest - 4 * blockSize);
        }

        EXPECT_EQ (lv2->getLatencySamples(), vst3->getLatencySamples());
        EXPECT_EQ (arrivals[0], vst3->getLatencySamples());
        EXPECT_EQ (arrivals[1], lv2->getLatencySamples());
        EXPECT_EQ (setting == 0, vst3->getLatencySamples() == 0);
    }
}
