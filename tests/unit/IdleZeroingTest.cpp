// The quiet lines are zeroed after idle entry a slice per idle block. Whenever the strip wakes, it
// must sound as if they had been zeroed at once (identical once the slices are done, within
// -120 dBFS before: what is left then is below -140 dBFS) and as a strip that never idles.

#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
// Long tails everywhere: both spaces on their largest rooms, a long pre-delay, a slow echo with
// much feedback, so every line holds as much as it can when the strip falls silent.
std::unique_ptr<ProcessorHarness> longTailStrip (double sampleRate, int blockSize, int zerosPerSample)
{
    auto harness = std::make_unique<ProcessorHarness> (sampleRate, blockSize);
    harness->processor->idleZerosPerSample = zerosPerSample;
    harness->set (ParamIDs::spaceAMix, 60.0f);
    harness->set (ParamIDs::spaceAType, 2.0f);
    harness->set (ParamIDs::spaceAPreDelay, 250.0f);
    harness->set (ParamIDs::spaceBMix, 40.0f);
    harness->set (ParamIDs::spaceBType, 2.0f);
    harness->set (ParamIDs::echoMix, 50.0f);
    harness->set (ParamIDs::echoDivision, 3.0f);
    harness->set (ParamIDs::echoFeedback, 60.0f);
    return harness;
}

// Noise, then silence block by block until the strip idles, then `idleBlocks` more silent blocks.
void playUntilIdle (ProcessorHarness& harness, int idleBlocks)
{
    auto noise = signals::noise (static_cast<int> (harness.sampleRate), 5, 0.8f);
    harness.process (noise);

    juce::AudioBuffer<float> block (2, harness.blockSize);
    juce::MidiBuffer midi;
    for (int i = 0; ! harness.processor->idling.load(); ++i)
    {
        ASSERT_LT (i * harness.blockSize, 30 * harness.sampleRate) << "the strip never idled";
        block.clear();
        harness.processor->processBlock (block, midi);
    }

    for (int i = 0; i < idleBlocks; ++i)
    {
        block.clear();
        harness.processor->processBlock (block, midi);
    }
}

// What waking plays: a noise burst, then four seconds for the pre-delay, echo and rooms to answer.
juce::AudioBuffer<float> wake (ProcessorHarness& harness)
{
    const auto burst = signals::noise (harness.blockSize * 3 + 7, 9, 0.5f);
    juce::AudioBuffer<float> audio (2, static_cast<int> (4 * harness.sampleRate));
    audio.clear();
    for (int channel = 0; channel < 2; ++channel)
        audio.copyFrom (channel, 0, burst, channel, 0, burst.getNumSamples());
    harness.process (audio);
    return audio;
}

float largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    auto largest = 0.0f;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
            largest = std::max (largest, std::abs (a.getSample (channel, i) - b.getSample (channel, i)));
    return largest;
}

struct WakeCase
{
    double sampleRate;
    int blockSize;
    int idleBlocks; // silent blocks after idle entry before the wake; -1: until every slice is done
};

class IdleZeroing : public ::testing::TestWithParam<WakeCase>
{
};
} // namespace

// Woken straight after idle entry, a few slices in, or once every slice is done: against the strip
// that zeroes every line at once, the output is identical once the slices are done and within
// -120 dBFS before; against a strip that never idles (and never zeroes), within -120 dBFS always.
TEST_P (IdleZeroing, WakeSoundsAsIfEveryLineWereZeroedAtOnce)
{
    const auto [sampleRate, blockSize, idleBlocks] = GetParam();
    auto spread = longTailStrip (sampleRate, blockSize, 16);
    auto atOnce = longTailStrip (sampleRate, blockSize, 1 << 24);

    const auto slicesLeft = [&spread] { return spread->processor->isZeroingIdleMemories(); };
    playUntilIdle (*spread, idleBlocks < 0 ? 0 : idleBlocks);
    if (idleBlocks < 0)
    {
        juce::AudioBuffer<float> block (2, blockSize);
        juce::MidiBuffer midi;
        for (int i = 0; slicesLeft() && i < 100000; ++i)
        {
            block.clear();
            spread->processor->processBlock (block, midi);
        }
        ASSERT_FALSE (slicesLeft());
    }
    else
    {
        ASSERT_TRUE (slicesLeft()) << "the wake must come while lines are still to be zeroed";
    }
    playUntilIdle (*atOnce, 0);
    {
        // The first idle blocks land the glides; the next zeroes everything.
        juce::AudioBuffer<float> block (2, blockSize);
        juce::MidiBuffer midi;
        for (int i = 0; atOnce->processor->isZeroingIdleMemories() && i < 8; ++i)
        {
            block.clear();
            atOnce->processor->processBlock (block, midi);
        }
        ASSERT_FALSE (atOnce->processor->isZeroingIdleMemories());
    }

    ::setenv ("LUMBRA_NEVER_IDLE", "1", 1);
    auto neverIdles = longTailStrip (sampleRate, blockSize, 16);
    ::unsetenv ("LUMBRA_NEVER_IDLE");
    auto noise = signals::noise (static_cast<int> (sampleRate), 5, 0.8f);
    neverIdles->process (noise);
    juce::AudioBuffer<float> silence (2, static_cast<int> (sampleRate * 30));
    silence.clear();
    neverIdles->process (silence);

    const auto heard = wake (*spread);
    const auto reference = wake (*atOnce);
    const auto unzeroed = wake (*neverIdles);

    EXPECT_GT (heard.getMagnitude (0, heard.getNumSamples()), 0.1f);
    if (idleBlocks < 0)
        EXPECT_EQ (largestDifference (heard, reference), 0.0f);
    else
        EXPECT_LT (largestDifference (heard, reference), 1.0e-6f);
    EXPECT_LT (largestDifference (heard, unzeroed), 1.0e-6f);
}

INSTANTIATE_TEST_SUITE_P (AtOnceMidwayAndAfter, IdleZeroing,
                          ::testing::Values (WakeCase { 48000.0, 32, 0 }, WakeCase { 48000.0, 32, 40 },
                                             WakeCase { 48000.0, 32, -1 }, WakeCase { 96000.0, 512, 0 },
                                             WakeCase { 96000.0, 512, 3 }, WakeCase { 96000.0, 512, -1 },
                                             WakeCase { 44100.0, 64, -1 }));

// Zeroing goes on while the strip idles in bypass, and a strip prepared afresh (new lines) has
// nothing left to zero.
TEST (IdleZeroingLifecycle, GoesOnInBypassAndEndsWithANewPreparation)
{
    auto strip = longTailStrip (48000.0, 64, 16);
    playUntilIdle (*strip, 0);
    ASSERT_TRUE (strip->processor->isZeroingIdleMemories());

    strip->set (ParamIDs::bypass, 1.0f);
    juce::AudioBuffer<float> block (2, 64);
    juce::MidiBuffer midi;
    for (int i = 0; i < 48000 && strip->processor->isZeroingIdleMemories(); ++i)
    {
        block.clear();
        strip->processor->processBlock (block, midi);
    }
    EXPECT_FALSE (strip->processor->isZeroingIdleMemories());

    strip->set (ParamIDs::bypass, 0.0f);
    playUntilIdle (*strip, 0);
    ASSERT_TRUE (strip->processor->isZeroingIdleMemories());
    strip->processor->prepareToPlay (96000.0, 64);
    EXPECT_FALSE (strip->processor->isZeroingIdleMemories());
}
