#include "dsp/Glide.h"
#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/SignalAnalysis.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{
constexpr double rate = 48000.0;
constexpr int block = 512;
constexpr int glide = 960; // 20 ms

struct Setting
{
    const juce::String& id;
    float value;
};

void apply (ProcessorHarness& harness, std::initializer_list<Setting> settings)
{
    for (const auto& setting : settings)
        harness.set (setting.id, setting.value);
}

void expectBitExactFrom (const juce::AudioBuffer<float>& expected, const juce::AudioBuffer<float>& actual, int from)
{
    for (int channel = 0; channel < 2; ++channel)
        for (int i = from; i < expected.getNumSamples(); ++i)
            ASSERT_EQ (actual.getSample (channel, i), expected.getSample (channel, i)) << "channel " << channel << ", sample " << i;
}
} // namespace

// A glide lands exactly on its value and then costs nothing: where the control only scales a path
// (the trim, a return's level, the blend, the compressor's threshold and makeup, which do not
// change its detector), the output once the glide is over is bit for bit that of an instance that
// started at the value. The returns run (and hear the compressor) only where the case needs them.
TEST (Glides, LandExactlyWhereAnInstanceStartedAtTheValueIs)
{
    struct Case
    {
        const char* what;
        const juce::String& id;
        float from, to;
        bool withReturns;
    };
    const Case cases[] = {
        { "output trim", ParamIDs::outputTrim, 0.0f, -6.5f, true },
        { "dynamics", ParamIDs::compAmount, 0.0f, 70.0f, false },
        { "space A", ParamIDs::spaceAMix, 20.0f, 60.0f, true },
        { "space B", ParamIDs::spaceBMix, 80.0f, 30.0f, true },
        { "echo", ParamIDs::echoMix, 20.0f, 60.0f, true },
        { "blend", ParamIDs::blend, 100.0f, 40.0f, true },
    };
    constexpr int changeAt = 12 * block; // past the echo's first repeat at 120 ms

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto input = signals::noise (24000, 71, 0.7f);
        ProcessorHarness started (rate, block), moved (rate, block);

        if (c.withReturns)
            for (auto* harness : { &started, &moved })
                apply (*harness, { { ParamIDs::spaceAMix, 30.0f }, { ParamIDs::spaceBMix, 30.0f }, { ParamIDs::echoMix, 30.0f } });
        started.set (c.id, c.to);
        moved.set (c.id, c.from);

        auto fromStart = input;
        started.process (fromStart);

        auto withMove = input;
        processSlice (*moved.processor, withMove, 0, changeAt);
        moved.set (c.id, c.to);
        processSlice (*moved.processor, withMove, changeAt, withMove.getNumSamples() - changeAt);

        expectBitExactFrom (fromStart, withMove, changeAt + glide);
        EXPECT_GT (std::abs (withMove.getSample (0, changeAt + 10) - fromStart.getSample (0, changeAt + 10)), 0.0f)
            << "inside the glide the two must differ for this test to mean anything";
    }
}

// The first block after preparing, and the first after a restore, start at the settings: no glide
// from what was there before. The restored instance sounds bit for bit like one that was set up
// that way before it ever ran.
TEST (Glides, ARestoreOrAPreparationStartsAtTheSettings)
{
    const auto settings = { Setting { ParamIDs::lowGain, 12.0f }, Setting { ParamIDs::highGain, -6.0f },
                            Setting { ParamIDs::compAmount, 80.0f }, Setting { ParamIDs::compMode, 1.0f },
                            Setting { ParamIDs::echoMix, 50.0f }, Setting { ParamIDs::echoFeedback, 60.0f },
                            Setting { ParamIDs::blend, 70.0f }, Setting { ParamIDs::outputTrim, -6.0f } };
    const auto input = signals::noise (9600, 73);

    ProcessorHarness setUpFirst (rate, block);
    for (const auto& setting : settings)
        setUpFirst.set (setting.id, setting.value);
    setUpFirst.settle();
    auto expected = input;
    setUpFirst.process (expected);

    juce::MemoryBlock state;
    setUpFirst.processor->getStateInformation (state);

    ProcessorHarness restored (rate, block);
    restored.settle();
    restored.processor->setStateInformation (state.getData(), static_cast<int> (state.getSize()));
    auto afterRestore = input;
    restored.process (afterRestore);
    expectBitExactFrom (expected, afterRestore, 0);

    ProcessorHarness prepared (rate, block);
    prepared.settle();
    for (const auto& setting : settings)
        prepared.set (setting.id, setting.value);
    prepared.processor->prepareToPlay (rate, block);
    auto afterPrepare = input;
    prepared.process (afterPrepare);
    expectBitExactFrom (expected, afterPrepare, 0);
}

// Bypass switched on while the chain runs crosses over in 20 ms; from then on the block leaves as
// it came, bit for bit, and switched off again the chain crosses back in.
TEST (Crossfades, BypassSwitchedOnMidStreamIsBitExactOnceItsFadeIsOver)
{
    ProcessorHarness harness (rate, block);
    apply (harness, { { ParamIDs::lowGain, 12.0f }, { ParamIDs::compAmount, 60.0f }, { ParamIDs::spaceAMix, 50.0f } });

    const auto input = signals::noise (12 * block, 75);
    auto audio = input;
    processSlice (*harness.processor, audio, 0, 4 * block);
    harness.set (ParamIDs::bypass, 1.0f);
    for (int start = 4 * block; start < audio.getNumSamples(); start += block)
        processSlice (*harness.processor, audio, start, block);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 4 * block + glide; i < audio.getNumSamples(); ++i)
            ASSERT_EQ (audio.getSample (channel, i), input.getSample (channel, i)) << i;

    // Halfway through the fade the output lies between the chain's and the input's.
    EXPECT_NE (audio.getSample (0, 4 * block + glide / 2), input.getSample (0, 4 * block + glide / 2));
    EXPECT_EQ (harness.processor->outputLevelDb.load(), harness.processor->inputLevelDb.load());
}

// A glide never carries a value that is not a number: a raw value of NaN or infinity is ignored
// and the chain keeps its course.
TEST (Glides, NonFiniteTargetsAreRefused)
{
    ProcessorHarness harness (rate, block);
    harness.settle();

    for (const auto* id : { &ParamIDs::inputTrim, &ParamIDs::outputTrim, &ParamIDs::lowGain, &ParamIDs::compAmount, &ParamIDs::spaceAMix, &ParamIDs::spaceAPreDelay,
                            &ParamIDs::echoMix, &ParamIDs::echoFeedback, &ParamIDs::blend })
    {
        SCOPED_TRACE (*id);
        auto* raw = harness.processor->parameters.getRawParameterValue (*id);
        for (const auto bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
        {
            raw->store (bad);
            auto audio = signals::noise (4 * block, 77);
            harness.process (audio);
            ASSERT_TRUE (allFinite (audio));
        }
        raw->store (harness.processor->parameters.getParameter (*id)->convertFrom0to1 (
            harness.processor->parameters.getParameter (*id)->getDefaultValue()));
    }
}

// Automation sends a new target every block. The glide bends towards each without a corner (a
// linear ramp turns by 1/960 of a step per sample at each new target, here over thirty times
// less), never passes the newest target, never turns back, and lands on the last one exactly.
TEST (Glides, AStreamOfTargetsBendsTheValueWithoutACornerOrAnOvershoot)
{
    Glide value;
    prepareGlide (value, rate, 0.0f);
    std::vector<float> course;

    for (int step = 1; step <= 20; ++step)
    {
        value.setTargetValue (static_cast<float> (step));
        for (int i = 0; i < 128; ++i)
            course.push_back (value.getNextValue());
    }

    for (int i = 0; i < glide; ++i)
        course.push_back (value.getNextValue());

    for (size_t i = 2; i < course.size(); ++i)
    {
        const auto target = static_cast<float> (juce::jmin<size_t> (20, i / 128 + 1));
        ASSERT_GE (course[i], course[i - 1]) << i;
        ASSERT_LE (course[i], target) << i;
        ASSERT_LT (std::abs (course[i] - 2.0f * course[i - 1] + course[i - 2]), 0.03f / glide) << i;
    }

    EXPECT_EQ (course.back(), 20.0f);
    EXPECT_FALSE (value.isSmoothing());
}

// A gain glide in decibels lands on the exact gain asked for, and a target of zero or below (no
// decibel value) is refused.
TEST (Glides, ADecibelGlideLandsOnTheExactGainAndRefusesZero)
{
    DecibelGlide gain;
    prepareGlide (gain, rate, 1.0f);
    gain.setTargetValue (0.251188643f);
    gain.skip (glide - 1);
    EXPECT_TRUE (gain.isSmoothing());
    EXPECT_EQ (gain.getNextValue(), 0.251188643f);
    EXPECT_FALSE (gain.isSmoothing());

    gain.setTargetValue (0.0f);
    glideTo (gain, -1.0f, true);
    EXPECT_FALSE (gain.isSmoothing());
    EXPECT_EQ (gain.getNextValue(), 0.251188643f);
}
