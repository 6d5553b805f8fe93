#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
// A compressed burst, then silence long enough for every tail at these settings to die away.
ProcessorHarness idleStrip()
{
    ProcessorHarness harness (48000.0, 512);
    harness.set (ParamIDs::compAmount, 100.0f);
    harness.set (ParamIDs::spaceAMix, 30.0f);

    auto burst = signals::noise (24000, 3, 0.9f);
    harness.process (burst);
    EXPECT_GT (harness.processor->gainReductionDb.load(), 1.0f);
    EXPECT_FALSE (harness.processor->idling.load());

    juce::AudioBuffer<float> silence (2, 48000 * 6);
    silence.clear();
    harness.process (silence);
    EXPECT_EQ (silence.getMagnitude (silence.getNumSamples() - 48000, 48000), 0.0f);
    EXPECT_TRUE (harness.processor->idling.load());
    return harness;
}
} // namespace

// While the strip idles, its meters read as they do for silence: -100 dBFS in and out and no gain reduction.
TEST (Idling, MetersReadSilence)
{
    auto harness = idleStrip();

    EXPECT_EQ (harness.processor->inputLevelDb.load(), -100.0f);
    EXPECT_EQ (harness.processor->outputLevelDb.load(), -100.0f);
    EXPECT_EQ (harness.processor->gainReductionDb.load(), 0.0f);
}

// Input below -120 dBFS does not wake the strip: the idle output is silence, or in bypass the input
// itself, untouched.
TEST (Idling, InputBelowTheWakeLevelGivesSilenceOrTheInputInBypass)
{
    auto harness = idleStrip();
    const auto faint = signals::noise (512, 9, 5.0e-7f);

    auto heard = faint;
    harness.process (heard);
    EXPECT_EQ (heard.getMagnitude (0, heard.getNumSamples()), 0.0f);

    harness.set (ParamIDs::bypass, 1.0f);
    heard = faint;
    harness.process (heard);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < heard.getNumSamples(); ++i)
            ASSERT_EQ (heard.getSample (channel, i), faint.getSample (channel, i)) << i;
    EXPECT_TRUE (harness.processor->idling.load());
}
