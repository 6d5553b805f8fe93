#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/SignalAnalysis.h"

#include <gtest/gtest.h>

namespace
{
constexpr double rate = 48000.0;

struct Character
{
    const char* name;
    int index;
    double ratio;
};

const Character characters[] = { { "Glue", 0, 2.0 }, { "Snap", 1, 4.0 }, { "Squash", 2, 8.0 } };

// Threshold -24 dB x amount, makeup +6 dB x amount, the character's ratio above the threshold.
double staticCurveDb (double levelDb, double amount, double ratio)
{
    const auto threshold = -24.0 * amount;
    const auto makeup = 6.0 * amount;
    return (levelDb > threshold ? threshold + (levelDb - threshold) / ratio : levelDb) + makeup;
}

double gainOf (double decibels) { return std::pow (10.0, decibels / 20.0); }

// A 1 kHz square wave: its magnitude never changes, so a peak detector settles exactly on its level.
juce::AudioBuffer<float> square (double levelDb, int numSamples)
{
    juce::AudioBuffer<float> audio (2, numSamples);
    const auto amplitude = static_cast<float> (gainOf (levelDb));
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < numSamples; ++i)
            audio.setSample (channel, i, (i / 24) % 2 == 0 ? amplitude : -amplitude);
    return audio;
}

// Only the dynamics stage acts, the trims' start-up fade already over.
ProcessorHarness dynamicsOnlyHarness (float amount, int character)
{
    ProcessorHarness harness (rate, 480);
    harness.set (ParamIDs::lowEnabled, 0.0f);
    harness.set (ParamIDs::highEnabled, 0.0f);
    harness.set (ParamIDs::compAmount, amount);
    harness.set (ParamIDs::compMode, static_cast<float> (character));
    harness.settle();
    return harness;
}

float settledPeakDb (const juce::AudioBuffer<float>& audio, int channel)
{
    return peakDb (audio, channel, audio.getNumSamples() - 4800, 4800);
}
} // namespace

TEST (DynamicsStage, ASteadyToneSettlesOnTheStaticCurveForEveryCharacter)
{
    for (const auto& character : characters)
    {
        for (const auto amount : { 50.0f, 100.0f })
        {
            for (const auto levelDb : { -6.0, 0.0 })
            {
                SCOPED_TRACE (juce::String (character.name) + ", amount " + juce::String (amount) + " %, tone at "
                              + juce::String (levelDb) + " dB");
                auto harness = dynamicsOnlyHarness (amount, character.index);
                auto audio = square (levelDb, 48000);
                harness.process (audio);

                const auto expected = staticCurveDb (levelDb, amount / 100.0, character.ratio);
                EXPECT_NEAR (settledPeakDb (audio, 0), expected, 0.1);
                EXPECT_NEAR (settledPeakDb (audio, 1), expected, 0.1);
            }
        }
    }
}

// A sine's crest is what the detector chases: with "Squash"'s 1 ms attack it holds the crest. (The
// slower attacks of "Glue" and "Snap" let the detector sag between crests, so a sine settles about
// 0.65 dB above their curve; the square wave above checks those two.)
TEST (DynamicsStage, ASineWithTheFastestAttackSettlesOnTheStaticCurve)
{
    auto harness = dynamicsOnlyHarness (100.0f, 2);
    auto audio = signals::sine (1000.0, rate, 48000, static_cast<float> (gainOf (-6.0)));
    harness.process (audio);
    EXPECT_NEAR (settledPeakDb (audio, 0), staticCurveDb (-6.0, 1.0, 8.0), 0.5);
}

TEST (DynamicsStage, BelowTheThresholdOnlyTheMakeupApplies)
{
    for (const auto& character : characters)
    {
        SCOPED_TRACE (character.name);
        auto harness = dynamicsOnlyHarness (50.0f, character.index); // threshold -12 dB, makeup +3 dB
        const auto input = signals::sine (1000.0, rate, 9600, static_cast<float> (gainOf (-30.0)));
        auto output = input;
        harness.process (output);

        const auto makeup = static_cast<float> (gainOf (3.0));
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < output.getNumSamples(); ++i)
                ASSERT_NEAR (output.getSample (channel, i), makeup * input.getSample (channel, i), 1.0e-6f) << i;
    }
}

// Switched off, the stage crosses over to the untouched signal in 20 ms and then passes it bit for
// bit while its envelope stays where it was: switched on again after two seconds, it still pulls a
// quiet tone down as hard as the loud one before, less only what the release let go during the
// 20 ms crossover back.
TEST (DynamicsStage, SwitchedOffItIsBitExactAndItsEnvelopeWaits)
{
    constexpr int fade = 960; // 20 ms
    auto harness = dynamicsOnlyHarness (100.0f, 2); // threshold -24 dB, ratio 8, release 400 ms

    auto loud = square (0.0, 48000);
    harness.process (loud); // the detector now sits at full scale

    harness.set (ParamIDs::compEnabled, 0.0f);
    auto crossing = square (0.0, fade); // the same level: the detector stays at full scale
    harness.process (crossing);
    const auto passing = signals::noise (2 * 48000, 41);
    auto passed = passing;
    harness.process (passed);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < passed.getNumSamples(); ++i)
            ASSERT_EQ (passed.getSample (channel, i), passing.getSample (channel, i)) << i;

    harness.set (ParamIDs::compEnabled, 1.0f);
    auto quiet = square (-20.0, fade);
    harness.process (quiet);

    // At the end of the crossover the detector has released from 1 towards 0.1 for 20 ms with the
    // 400 ms release: 0.1 + 0.9 exp (-2 pi 1000 / (48000 x 400))^960. The gain is then
    // (detector / -24 dB)^(1/8 - 1), then +6 dB makeup. A detector that had been reset would give
    // only -3.5 dB of reduction here.
    const auto detector = 0.1 + 0.9 * std::pow (std::exp (-juce::MathConstants<double>::twoPi * 1000.0 / (48000.0 * 400.0)), fade);
    const auto reductionDb = (juce::Decibels::gainToDecibels (detector) + 24.0) * (1.0 / 8.0 - 1.0);
    EXPECT_LT (reductionDb, -15.0);
    EXPECT_NEAR (juce::Decibels::gainToDecibels (std::abs (quiet.getSample (0, fade - 1))), -20.0 + reductionDb + 6.0, 0.1);
}

// At 2x and 4x the stage's output is the host-rate result delayed by the reported latency: the
// static curve is the same (a steady 1 kHz tone, whose peaks the host rate already catches,
// settles on the same level) and a tone below the threshold comes through whole, only later.
TEST (DynamicsStage, OversampledTheCompressorKeepsItsCurveAndOnlyAddsItsLatency)
{
    const auto input = signals::sine (1000.0, rate, 48000, static_cast<float> (gainOf (-6.0)));
    auto reference = input;
    {
        auto harness = dynamicsOnlyHarness (100.0f, 1);
        harness.process (reference);
    }

    for (const auto setting : { 1, 2 })
    {
        SCOPED_TRACE (setting);
        auto harness = dynamicsOnlyHarness (100.0f, 1);
        harness.set (ParamIDs::compOversample, static_cast<float> (setting));
        auto output = input;
        harness.process (output);

        EXPECT_GT (harness.processor->getLatencySamples(), 0);
        EXPECT_NEAR (rmsDb (output, 0, 43200, 4800), rmsDb (reference, 0, 43200, 4800), 0.2f);

        // Below the threshold the stage is a pure delay: a 1 kHz tone at -40 dB (amount 0: the
        // threshold sits at 0 dB) comes out as it went in, `latency` samples later.
        auto pass = dynamicsOnlyHarness (0.0f, 1);
        pass.set (ParamIDs::compOversample, static_cast<float> (setting));
        const auto tone = signals::sine (1000.0, rate, 24000, 0.01f);
        auto delayed = tone;
        pass.process (delayed);
        const auto latency = pass.processor->getLatencySamples();
        auto worstError = 0.0f;
        for (int i = 4800; i < tone.getNumSamples(); ++i)
            worstError = juce::jmax (worstError, std::abs (delayed.getSample (0, i) - tone.getSample (0, i - latency)));
        EXPECT_LT (worstError, 0.01f * 1.0e-3f) << "more than -60 dB from the delayed tone";
    }
}

// The reading for the editor's gain-reduction meter: what the static curve takes off a steady level
// above the threshold, (level - threshold) x (1 - 1/ratio), with the makeup left out.
TEST (DynamicsGainReduction, ASteadySquareOverTheThresholdReadsTheStaticCurvesReduction)
{
    struct Case
    {
        float amount;
        double levelDb;
    };
    // 12 dB over a -12 dB threshold, and 18 dB over a -24 dB one.
    const Case cases[] = { { 50.0f, 0.0 }, { 100.0f, -6.0 } };

    for (const auto& character : characters)
    {
        for (const auto& c : cases)
        {
            SCOPED_TRACE (juce::String (character.name) + ", amount " + juce::String (c.amount) + " %, level "
                          + juce::String (c.levelDb) + " dB");
            auto harness = dynamicsOnlyHarness (c.amount, character.index);
            auto audio = square (c.levelDb, 48000);
            harness.process (audio);

            const auto overDb = c.levelDb + 24.0 * c.amount / 100.0;
            EXPECT_NEAR (harness.processor->gainReductionDb.load(), overDb * (1.0 - 1.0 / character.ratio), 0.25);
        }
    }
}

TEST (DynamicsGainReduction, ReadsZeroBelowTheThresholdWhenOffAndInBypass)
{
    for (const auto& character : characters)
    {
        SCOPED_TRACE (character.name);
        auto harness = dynamicsOnlyHarness (50.0f, character.index); // threshold -12 dB
        auto quiet = square (-18.0, 48000);
        harness.process (quiet);
        EXPECT_EQ (harness.processor->gainReductionDb.load(), 0.0f) << "below the threshold";
    }

    // Off and bypass must bring a working compressor's reading back to 0, not just leave it.
    const std::pair<const juce::String*, float> stoppers[] = { { &ParamIDs::compEnabled, 0.0f },
                                                               { &ParamIDs::bypass, 1.0f } };
    for (const auto& [id, value] : stoppers)
    {
        SCOPED_TRACE (*id);
        auto harness = dynamicsOnlyHarness (100.0f, 2);
        auto loud = square (0.0, 9600);
        harness.process (loud);
        ASSERT_GT (harness.processor->gainReductionDb.load(), 15.0f);

        harness.set (*id, value);
        auto more = square (0.0, 9600);
        harness.process (more);
        EXPECT_EQ (harness.processor->gainReductionDb.load(), 0.0f);
    }
}
