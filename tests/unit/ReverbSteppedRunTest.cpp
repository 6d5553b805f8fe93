// A room handed anew before every sample, taken a run at a time, gives the very samples of the
// reverb run one sample at a time (as a space's room glide did before).

#include "dsp/ReverbKernel.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
juce::dsp::Reverb::Parameters roomAt (float progress)
{
    // From "Room" towards "Cathedral", an S-curve as the space's glide takes it.
    const auto s = progress * progress * (3.0f - 2.0f * progress);
    return { 0.3f + 0.6f * s, 0.5f - 0.3f * s, 1.0f, 0.0f, 1.0f, 0.0f };
}
} // namespace

TEST (ReverbSteppedRun, MatchesTheReverbRunOneSampleAtATime)
{
    for (const auto rate : { 44100.0, 96000.0 })
    {
        ReverbKernel bySample, byRun;
        for (auto* reverb : { &bySample, &byRun })
        {
            reverb->setParameters (roomAt (0.0f));
            reverb->prepare ({ rate, 512, 2 });
        }

        const auto input = signals::noise (static_cast<int> (rate * 0.2), 4, 0.5f);
        auto expected = input, heard = input;
        const auto glideSamples = static_cast<int> (rate * 0.02);

        for (int i = 0; i < input.getNumSamples(); ++i)
        {
            bySample.setParameters (roomAt (juce::jmin (1.0f, static_cast<float> (i) / static_cast<float> (glideSamples))));
            bySample.processStereo (expected.getWritePointer (0, i), expected.getWritePointer (1, i), 1);
        }

        for (int start = 0; start < input.getNumSamples();)
        {
            const auto n = juce::jmin (byRun.longestRunLength(), input.getNumSamples() - start);
            for (int j = 0; j < n; ++j)
            {
                byRun.setParameters (roomAt (juce::jmin (1.0f, static_cast<float> (start + j) / static_cast<float> (glideSamples))));
                byRun.takeGlideStep (j);
            }
            byRun.processStereoStepped (heard.getWritePointer (0, start), heard.getWritePointer (1, start), n);
            start += n;
        }

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < input.getNumSamples(); ++i)
                ASSERT_EQ (heard.getSample (channel, i), expected.getSample (channel, i)) << rate << " Hz, sample " << i;
        EXPECT_GT (heard.getMagnitude (0, input.getNumSamples()), 0.01f);
    }
}
