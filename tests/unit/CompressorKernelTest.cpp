#include "dsp/CompressorGain.h"
#include "dsp/DynamicsStage.h"
#include "dsp/PeakEnvelope.h"
#include "tests/support/EquivalenceSignals.h"

#include <gtest/gtest.h>

namespace
{
// The compressor's settings over the four quarters of a render: each character at a different
// amount, and an exponent none of the characters has.
struct Setting
{
    int character;
    float amount;
    float exponent;
};

const Setting settings[] = { { 0, 0.4f, -0.5f }, { 2, 1.0f, -0.875f }, { 1, 0.7f, -0.75f }, { 1, 0.25f, -0.6f } };

const Setting& settingAt (int start, int length) { return settings[juce::jlimit (0, 3, 4 * start / length)]; }

float thresholdOf (float amount) { return juce::Decibels::decibelsToGain (-24.0f * amount, -200.0f); }

// The compressed signal (gain x input, makeup left out) with JUCE's ballistics filter and std::pow.
juce::AudioBuffer<float> renderJuce (const EquivalenceCase& c, const juce::AudioBuffer<float>& signal)
{
    juce::dsp::BallisticsFilter<float> envelope;
    envelope.prepare ({ c.sampleRate, static_cast<juce::uint32> (c.blockSize), static_cast<juce::uint32> (c.numChannels) });
    auto audio = signal;
    const auto length = audio.getNumSamples();

    forEachBlock (audio, c.blockSize, [&] (juce::AudioBuffer<float>& block, int start)
    {
        const auto& setting = settingAt (start, length);
        const auto character = compressorCharacter (setting.character);
        envelope.setAttackTime (character.attackMs);
        envelope.setReleaseTime (character.releaseMs);
        const auto threshold = thresholdOf (setting.amount);

        for (int channel = 0; channel < block.getNumChannels(); ++channel)
        {
            auto* x = block.getWritePointer (channel);

            for (int i = 0; i < block.getNumSamples(); ++i)
            {
                const auto env = envelope.processSample (channel, x[i]);
                const auto gain = env < threshold ? 1.0f : std::pow (env * (1.0f / threshold), setting.exponent);
                x[i] = gain * x[i];
            }
        }
    });

    return audio;
}

juce::AudioBuffer<float> renderKernels (const EquivalenceCase& c, const juce::AudioBuffer<float>& signal)
{
    PeakEnvelope envelope;
    envelope.prepare (c.sampleRate, c.numChannels);
    auto audio = signal;
    const auto length = audio.getNumSamples();
    std::vector<float> env (static_cast<size_t> (c.blockSize)), gains (static_cast<size_t> (c.blockSize));
    std::vector<float> rightEnv (env.size());

    forEachBlock (audio, c.blockSize, [&] (juce::AudioBuffer<float>& block, int start)
    {
        const auto& setting = settingAt (start, length);
        const auto character = compressorCharacter (setting.character);
        envelope.setAttackTime (character.attackMs);
        envelope.setReleaseTime (character.releaseMs);
        const auto threshold = thresholdOf (setting.amount);
        const auto n = block.getNumSamples();

        // Stereo takes both detectors in one loop, as the stage does.
        if (block.getNumChannels() == 2)
            envelope.processPair (block.getReadPointer (0), block.getReadPointer (1), env.data(), rightEnv.data(), n);

        for (int channel = 0; channel < block.getNumChannels(); ++channel)
        {
            auto* x = block.getWritePointer (channel);
            if (block.getNumChannels() == 2)
                std::copy_n (channel == 0 ? env.data() : rightEnv.data(), n, env.data());
            else
                envelope.process (channel, x, env.data(), n);
            compressorGain::compute (env.data(), threshold, 1.0f / threshold, setting.exponent, gains.data(), n);

            for (int i = 0; i < n; ++i)
                x[i] = gains[static_cast<size_t> (i)] * x[i];
        }
    });

    return audio;
}

class CompressorKernelEquivalence : public ::testing::TestWithParam<EquivalenceCase>
{
};

TEST_P (CompressorKernelEquivalence, CompressesLikeJuceBallisticsAndThePowerCurve)
{
    const auto c = GetParam();
    const auto signal = equivalenceSignal (c.numChannels, c.sampleRate, 1.5);
    const auto expected = renderJuce (c, signal);
    const auto actual = renderKernels (c, signal);

    // The signal is compressed at all: otherwise the gains would not have been compared.
    ASSERT_LT (expected.getRMSLevel (0, 0, expected.getNumSamples()), 0.8f * signal.getRMSLevel (0, 0, signal.getNumSamples()));
    const auto differenceDb = largestDifferenceDb (expected, actual);
    RecordProperty ("largestDifferenceDb", std::to_string (differenceDb));
    EXPECT_LT (differenceDb, -100.0);
}

INSTANTIATE_TEST_SUITE_P (RatesChannelsAndBlocks, CompressorKernelEquivalence, ::testing::ValuesIn (equivalenceCases()),
                          [] (const auto& info) { return equivalenceCaseName (info.param); });

// Above the threshold the gain is (level / threshold)^(1 / ratio - 1): 12 dB over a threshold at
// 2:1 is -6 dB, at 4:1 -9 dB, at 8:1 -10.5 dB. Below or at the threshold it is exactly 1.
TEST (CompressorGain, FollowsTheRatioAboveTheThresholdAndIsOneBelow)
{
    const struct
    {
        float exponent;
        double gainDb;
    } ratios[] = { { -0.5f, -6.0 }, { -0.75f, -9.0 }, { -0.875f, -10.5 }, { -0.6f, -7.2 } };

    const auto threshold = juce::Decibels::decibelsToGain (-20.0f);
    const float envelope[] = { juce::Decibels::decibelsToGain (-8.0f), threshold * 0.999f, 0.0f, 0.01f, 1.0f };

    for (const auto& r : ratios)
    {
        float gains[5];
        compressorGain::compute (envelope, threshold, 1.0f / threshold, r.exponent, gains, 5);
        EXPECT_NEAR (juce::Decibels::gainToDecibels (gains[0]), r.gainDb, 1.0e-4) << r.exponent;
        EXPECT_EQ (gains[1], 1.0f);
        EXPECT_EQ (gains[2], 1.0f);
        EXPECT_EQ (gains[3], 1.0f);
        EXPECT_NEAR (juce::Decibels::gainToDecibels (gains[4]), 20.0 * r.exponent, 1.0e-4);
    }
}

// The detector rises with the attack time constant and falls with the release one: after one
// time constant of a step it has covered 1 - 1/e of the way.
TEST (PeakEnvelope, RisesAndFallsWithItsTimeConstants)
{
    constexpr double rate = 48000.0;
    PeakEnvelope envelope;
    envelope.prepare (rate, 1);
    envelope.setAttackTime (10.0f);
    envelope.setReleaseTime (100.0f);

    // The constant is exp (-2 pi 1000 / (rate x ms)): a time constant of ms / (2 pi) milliseconds.
    const auto attackSamples = static_cast<int> (std::round (rate * 0.010 / juce::MathConstants<double>::twoPi));
    std::vector<float> ones (static_cast<size_t> (attackSamples), -1.0f), env (ones.size());
    envelope.process (0, ones.data(), env.data(), attackSamples);
    EXPECT_NEAR (env.back(), 1.0 - std::exp (-1.0), 0.01);

    const auto releaseSamples = static_cast<int> (std::round (rate * 0.100 / juce::MathConstants<double>::twoPi));
    std::vector<float> zeros (static_cast<size_t> (releaseSamples), 0.0f), fall (zeros.size());
    envelope.process (0, zeros.data(), fall.data(), releaseSamples);
    EXPECT_NEAR (fall.back() / env.back(), std::exp (-1.0), 0.01);
}
} // namespace
