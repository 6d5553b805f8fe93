#include "dsp/BlockPeak.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Every length around the four-wide steps, with the loudest sample (negative) at every position:
// the peak is its magnitude, counted whether it falls in a whole step or in the tail.
TEST (BlockPeak, FindsTheLoudestSampleAtEveryPositionAndLength)
{
    for (const auto length : { 1, 3, 4, 5, 8, 31, 32, 33 })
    {
        for (int loudest = 0; loudest < length; ++loudest)
        {
            std::vector<float> samples (static_cast<size_t> (length), 0.25f);
            samples[static_cast<size_t> (loudest)] = -0.75f;
            EXPECT_EQ (channelPeak (samples.data(), length), 0.75f) << "length " << length << " at " << loudest;
        }
    }

    EXPECT_EQ (channelPeak (nullptr, 0), 0.0f);
}

// A sample that is not a number makes the peak not a number, so a broken signal reads as loud.
TEST (BlockPeak, ANanAnywhereMakesThePeakNotANumber)
{
    for (const auto length : { 1, 4, 7, 32 })
    {
        for (int broken = 0; broken < length; ++broken)
        {
            std::vector<float> samples (static_cast<size_t> (length), 0.5f);
            samples[static_cast<size_t> (broken)] = std::numeric_limits<float>::quiet_NaN();
            EXPECT_TRUE (std::isnan (channelPeak (samples.data(), length))) << "length " << length << " at " << broken;
        }
    }

    juce::AudioBuffer<float> block (2, 16);
    block.clear();
    block.setSample (0, 3, 0.5f);
    block.setSample (1, 9, -0.9f);
    EXPECT_EQ (peakMagnitude (block, 2, 16), 0.9f);
    EXPECT_EQ (peakMagnitude (block, 1, 16), 0.5f);
    block.setSample (1, 15, std::numeric_limits<float>::infinity());
    EXPECT_EQ (peakMagnitude (block, 2, 16), std::numeric_limits<float>::infinity());
}
} // namespace
