#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
// Every stage with memory engaged, so a poisoned sample would stay in the chain.
void engageEveryStage (ProcessorHarness& harness)
{
    harness.set (ParamIDs::lowGain, 6.0f);
    harness.set (ParamIDs::highGain, -4.0f);
    harness.set (ParamIDs::compAmount, 80.0f);
    harness.set (ParamIDs::spaceAMix, 60.0f);
    harness.set (ParamIDs::spaceAPreDelay, 30.0f);
    harness.set (ParamIDs::spaceBMix, 60.0f);
    harness.set (ParamIDs::echoMix, 70.0f);
    harness.set (ParamIDs::echoFeedback, 90.0f);
}
} // namespace

TEST (NonFiniteInput, ABadBlockDoesNotPoisonTheRestOfTheSession)
{
    const float badValues[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity() };

    for (const auto bad : badValues)
    {
        SCOPED_TRACE (bad);
        ProcessorHarness harness (48000.0, 256);
        engageEveryStage (harness);

        auto glitch = signals::noise (256, 5, 0.5f);
        glitch.setSample (0, 10, bad);
        glitch.setSample (1, 200, bad);
        glitch.setSample (0, 100, std::numeric_limits<float>::denorm_min());
        harness.process (glitch);
        EXPECT_TRUE (std::isfinite (harness.processor->inputLevelDb.load()));
        EXPECT_TRUE (std::isfinite (harness.processor->outputLevelDb.load()));

        auto after = signals::noise (48000, 7, 0.5f);
        harness.process (after);
        EXPECT_TRUE (allFinite (after));
        EXPECT_TRUE (std::isfinite (harness.processor->outputLevelDb.load()));
        EXPECT_GT (after.getMagnitude (0, 47000, 1000), 0.01f);
    }
}

TEST (NonFiniteInput, BadSamplesAreSilencedAndTheirNeighboursKept)
{
    ProcessorHarness harness (48000.0, 512);
    harness.settle();

    auto audio = signals::noise (512, 9, 0.5f);
    const auto input = audio;
    audio.setSample (0, 100, std::numeric_limits<float>::quiet_NaN());
    audio.setSample (1, 300, std::numeric_limits<float>::infinity());
    harness.process (audio);

    EXPECT_NEAR (audio.getSample (0, 100), 0.0f, 1.0e-6f);
    EXPECT_NEAR (audio.getSample (1, 300), 0.0f, 1.0e-6f);
    EXPECT_NEAR (audio.getSample (0, 101), input.getSample (0, 101), 1.0e-5f);
    EXPECT_NEAR (audio.getSample (1, 299), input.getSample (1, 299), 1.0e-5f);
}

TEST (NonFiniteInput, BypassStillPassesTheBlockUntouched)
{
    ProcessorHarness harness;
    harness.set (ParamIDs::bypass, 1.0f);
    auto audio = signals::noise (64, 3);
    audio.setSample (0, 5, std::numeric_limits<float>::infinity());
    harness.process (audio);
    EXPECT_TRUE (std::isinf (audio.getSample (0, 5)));
}
