#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
// The trims fade in from silence over floor(0.02 x rate) samples after construction.
int fadeLength (double sampleRate) { return static_cast<int> (0.02 * sampleRate); }

void expectEqualAfter (const juce::AudioBuffer<float>& expected, const juce::AudioBuffer<float>& actual, int from,
                       float tolerance)
{
    for (int channel = 0; channel < expected.getNumChannels(); ++channel)
        for (int i = from; i < expected.getNumSamples(); ++i)
            ASSERT_NEAR (actual.getSample (channel, i), expected.getSample (channel, i), tolerance)
                << "channel " << channel << " sample " << i;
}
} // namespace

TEST (BlockDriver, AtDefaultsTheOutputEqualsTheInputOnceTheFadeIsOver)
{
    for (const auto rate : { 44100.0, 48000.0 })
    {
        SCOPED_TRACE (rate);
        ProcessorHarness harness (rate, 256);
        const auto input = signals::noise (4096, 3, 0.5f);
        auto output = input;
        harness.process (output);

        const auto fade = fadeLength (rate);
        EXPECT_EQ (fade, rate == 44100.0 ? 882 : 960);
        EXPECT_LE (std::abs (output.getSample (0, 0)), std::abs (input.getSample (0, 0)) / static_cast<float> (fade));
        EXPECT_LT (std::abs (output.getSample (0, fade / 2)), std::abs (input.getSample (0, fade / 2)));
        expectEqualAfter (input, output, fade, 1.0e-5f);
    }
}

TEST (BlockDriver, BypassPassesTheBlockUntouchedAndBothMetersReadItsPeak)
{
    ProcessorHarness harness;
    harness.set (ParamIDs::bypass, 1.0f);
    harness.set (ParamIDs::inputTrim, 12.0f);
    harness.set (ParamIDs::outputTrim, -30.0f);

    const auto input = signals::noise (1024, 5, 0.5f);
    auto output = input;
    output.setSample (1, 100, 0.75f);
    auto expected = output;
    harness.process (output, 1024);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < output.getNumSamples(); ++i)
            ASSERT_EQ (output.getSample (channel, i), expected.getSample (channel, i));

    EXPECT_NEAR (harness.processor->inputLevelDb.load(), 20.0f * std::log10 (0.75f), 1.0e-4f);
    EXPECT_EQ (harness.processor->outputLevelDb.load(), harness.processor->inputLevelDb.load());
}

TEST (BlockDriver, MonoInputIsDuplicatedIntoTheSecondChannelAlsoInBypass)
{
    for (const auto bypassed : { false, true })
    {
        SCOPED_TRACE (bypassed);
        ProcessorHarness harness (48000.0, 512, true);
        harness.set (ParamIDs::bypass, bypassed ? 1.0f : 0.0f);

        auto audio = signals::noise (2048, 9, 0.5f);
        audio.clear (1, 0, audio.getNumSamples());
        harness.process (audio);

        for (int i = 0; i < audio.getNumSamples(); ++i)
            ASSERT_EQ (audio.getSample (1, i), audio.getSample (0, i)) << i;
        EXPECT_GT (audio.getMagnitude (1, 1000, 1000), 0.1f);
    }
}

TEST (BlockDriver, TrimsScaleTheSignalAndGlideInsteadOfStepping)
{
    const auto sineDb = 20.0f * std::log10 (0.25f);

    for (const auto* trim : { &ParamIDs::inputTrim, &ParamIDs::outputTrim })
    {
        SCOPED_TRACE (*trim);
        ProcessorHarness harness (48000.0, 480);
        harness.settle();
        harness.set (*trim, -12.0f);

        auto audio = signals::sine (1000.0, 48000.0, 9600, 0.25f);
        harness.process (audio);

        // The first 10 ms are inside the 20 ms glide: between the old and the new gain.
        EXPECT_LT (peakDb (audio, 0, 432, 48), sineDb - 0.5f);
        EXPECT_GT (peakDb (audio, 0, 432, 48), sineDb - 12.0f + 0.5f);
        EXPECT_NEAR (peakDb (audio, 0, 4800, 4800), sineDb - 12.0f, 0.01f);
        EXPECT_NEAR (harness.processor->outputLevelDb.load(), sineDb - 12.0f, 0.01f);
    }

    ProcessorHarness harness (48000.0, 480);
    harness.settle();
    harness.set (ParamIDs::inputTrim, 6.0f);
    auto audio = signals::sine (1000.0, 48000.0, 4800, 0.25f);
    harness.process (audio);
    EXPECT_NEAR (harness.processor->inputLevelDb.load(), sineDb + 6.0f, 0.01f);
}

TEST (BlockDriver, BlendLeavesTheSignalAloneWhenNoReturnRuns)
{
    for (const auto blend : { 0.0f, 37.5f, 100.0f })
    {
        ProcessorHarness harness;
        harness.set (ParamIDs::blend, blend);
        const auto input = signals::noise (4096, 11, 0.5f);
        auto output = input;
        harness.process (output);
        expectEqualAfter (input, output, fadeLength (48000.0), 1.0e-5f);
    }
}

TEST (BlockDriver, LevelRuleReadsPeaksInDecibelsWithAFloorOfMinus100)
{
    struct Case { const char* what; float sampleValue; float expectedDb; };
    const Case cases[] = {
        { "digital silence", 0.0f, -100.0f },
        { "below the floor", 1.0e-7f, -100.0f },
        { "full scale", 1.0f, 0.0f },
        { "a sample of 2.0", 2.0f, 6.0206f },
        { "half scale", 0.5f, -6.0206f },
    };

    for (const auto& c : cases)
    {
        ProcessorHarness harness;
        harness.set (ParamIDs::bypass, 1.0f);
        juce::AudioBuffer<float> audio (2, 64);
        audio.clear();
        audio.setSample (1, 17, c.sampleValue);
        harness.process (audio);
        EXPECT_NEAR (harness.processor->inputLevelDb.load(), c.expectedDb, 1.0e-3f) << c.what;
        EXPECT_NEAR (harness.processor->outputLevelDb.load(), c.expectedDb, 1.0e-3f) << c.what;
    }
}

TEST (BlockDriver, FullScaleSineReadsZeroDecibelsOnBothMeters)
{
    ProcessorHarness harness (48000.0, 480);
    for (const auto* id : { &ParamIDs::lowEnabled, &ParamIDs::highEnabled, &ParamIDs::compEnabled })
        harness.set (*id, 0.0f);
    harness.settle();

    auto audio = signals::sine (1000.0, 48000.0, 480, 1.0f); // 48 samples a cycle: peak sample is exactly 1
    harness.process (audio);
    EXPECT_NEAR (harness.processor->inputLevelDb.load(), 0.0f, 1.0e-3f);
    EXPECT_NEAR (harness.processor->outputLevelDb.load(), 0.0f, 1.0e-3f);
}

TEST (BlockDriver, AnEmptyBlockPublishesSilence)
{
    ProcessorHarness harness;
    auto audio = signals::noise (512, 2);
    harness.process (audio);
    ASSERT_GT (harness.processor->outputLevelDb.load(), -100.0f);

    juce::AudioBuffer<float> empty (2, 0);
    juce::MidiBuffer midi;
    harness.processor->processBlock (empty, midi);
    EXPECT_EQ (harness.processor->inputLevelDb.load(), -100.0f);
    EXPECT_EQ (harness.processor->outputLevelDb.load(), -100.0f);
}

TEST (BlockDriver, AnyBlockLengthGivesTheSameResult)
{
    const auto input = signals::noise (70000, 13, 0.5f);
    auto reference = input;
    ProcessorHarness (48000.0, 512).process (reference, 512);

    for (const auto blockSize : { 1, 7, 100, 4096, 65536, 70000 })
    {
        SCOPED_TRACE (blockSize);
        ProcessorHarness harness (48000.0, 512); // prepared for less than most of these
        auto output = input;
        harness.process (output, blockSize);
        ASSERT_TRUE (allFinite (output));
        expectEqualAfter (reference, output, 0, 1.0e-6f);
    }
}

TEST (BlockDriver, ExtraChannelsBeyondThePreparedOnesAreClearedNotProcessed)
{
    ProcessorHarness harness;
    auto audio = signals::noise (4096, 17, 0.5f, 4);
    const auto input = audio;
    harness.process (audio);

    EXPECT_EQ (audio.getMagnitude (2, 0, 4096), 0.0f);
    EXPECT_EQ (audio.getMagnitude (3, 0, 4096), 0.0f);
    EXPECT_NEAR (audio.getSample (1, 3000), input.getSample (1, 3000), 1.0e-5f);
}

// A block with the same settings as the last hands nothing new to the stages, but a compressor
// character asked for during another's crossover still starts once that ends: Glue, then Snap,
// then Squash 5 ms later, then nothing changes. Ratio 8 against ratio 4 on a sine 18 dB over the
// threshold differs by about 2 dB, so staying at Snap would show.
TEST (BlockDriver, ACharacterAskedForDuringACrossoverIsHeardThoughTheSettingsThenStayTheSame)
{
    constexpr double rate = 48000.0;
    constexpr int block = 64;
    auto harnessAt = [=] (int character)
    {
        auto harness = std::make_unique<ProcessorHarness> (rate, block);
        harness->set (ParamIDs::compAmount, 100.0f);
        harness->set (ParamIDs::compMode, static_cast<float> (character));
        return harness;
    };

    auto changing = harnessAt (0);
    auto squashed = harnessAt (2);
    auto first = signals::sine (1000.0, rate, 24000, 0.5f);
    auto firstReference = first;
    changing->process (first);
    squashed->process (firstReference);

    changing->set (ParamIDs::compMode, 1.0f);
    auto fewBlocks = signals::sine (1000.0, rate, 4 * block, 0.5f);
    auto fewBlocksReference = fewBlocks;
    changing->process (fewBlocks);
    squashed->process (fewBlocksReference);

    changing->set (ParamIDs::compMode, 2.0f);
    auto rest = signals::sine (1000.0, rate, 48000, 0.5f);
    auto restReference = rest;
    changing->process (rest);
    squashed->process (restReference);

    const auto tail = 9600;
    const auto start = rest.getNumSamples() - tail;
    EXPECT_NEAR (rmsDb (rest, 0, start, tail), rmsDb (restReference, 0, start, tail), 0.05f);
}
