#include "dsp/ReverbKernel.h"
#include "dsp/SpaceStage.h"
#include "tests/support/EquivalenceSignals.h"

#include <gtest/gtest.h>

namespace
{
using Parameters = juce::Reverb::Parameters;

// What happens to the reverb during a render, at fractions of its length: the space's start from
// silence, a type change glided by the reverb, gains and width moving, freezing and thawing.
struct Change
{
    double at;
    Parameters parameters;
};

const Change changes[] = {
    { 0.0, spaceSettings (SpaceKind::a, 0, 1.0f) },
    { 0.15, spaceSettings (SpaceKind::a, 2, 1.0f) },
    { 0.3, { 0.5f, 0.3f, 0.6f, 0.4f, 0.5f, 0.0f } },
    { 0.45, { 0.5f, 0.3f, 0.6f, 0.4f, 0.5f, 1.0f } },
    { 0.5, { 0.5f, 0.3f, 0.6f, 0.4f, 0.5f, 1.0f } }, // the same again changes nothing
    { 0.6, { 0.95f, 0.1f, 0.8f, 0.2f, 0.0f, 0.0f } },
    { 0.8, spaceSettings (SpaceKind::b, 1, 0.4f) },
};

// Renders the signal through a reverb as the space drives it: prepared silent, then each change
// taken at the first block that starts at or after its time.
template <typename Reverb>
juce::AudioBuffer<float> render (const EquivalenceCase& c, const juce::AudioBuffer<float>& signal)
{
    Reverb reverb;
    reverb.setParameters (spaceSettings (SpaceKind::a, 0, 0.0f));
    reverb.prepare ({ c.sampleRate, static_cast<juce::uint32> (c.blockSize), static_cast<juce::uint32> (c.numChannels) });
    reverb.reset();

    auto audio = signal;
    size_t nextChange = 0;
    const auto length = static_cast<double> (audio.getNumSamples());

    forEachBlock (audio, c.blockSize, [&] (juce::AudioBuffer<float>& block, int start)
    {
        while (nextChange < std::size (changes) && changes[nextChange].at * length <= start)
            reverb.setParameters (changes[nextChange++].parameters);

        juce::dsp::AudioBlock<float> view (block);
        reverb.process (ReplacingContext (view));
    });

    return audio;
}

class ReverbKernelEquivalence : public ::testing::TestWithParam<EquivalenceCase>
{
};

TEST_P (ReverbKernelEquivalence, SoundsLikeJuceReverbThroughGlidesAndFreezing)
{
    const auto c = GetParam();
    const auto signal = equivalenceSignal (c.numChannels, c.sampleRate, 1.5);
    const auto expected = render<juce::dsp::Reverb> (c, signal);
    const auto actual = render<ReverbKernel> (c, signal);

    ASSERT_GT (peakOf (expected), 0.01f);
    const auto differenceDb = largestDifferenceDb (expected, actual);
    RecordProperty ("largestDifferenceDb", std::to_string (differenceDb));
    EXPECT_LT (differenceDb, -100.0);
}

INSTANTIATE_TEST_SUITE_P (RatesChannelsAndBlocks, ReverbKernelEquivalence, ::testing::ValuesIn (equivalenceCases()),
                          [] (const auto& info) { return equivalenceCaseName (info.param); });

// The first echo of a unit impulse on both channels, worked out from the network: (1 + 1) x 0.015
// into the shortest comb (1116 samples at 44.1 kHz, 23 more on the right), its sign flipped by each
// of the four allpasses, out at wet level x 3.
TEST (ReverbKernel, FirstEchoComesOutOfTheShortestCombAtTheWetGain)
{
    ReverbKernel reverb;
    reverb.setParameters ({ 0.5f, 0.5f, 0.5f, 0.0f, 1.0f, 0.0f });
    reverb.prepare ({ 44100.0, 2048, 2 });

    juce::AudioBuffer<float> audio (2, 2048);
    audio.clear();
    audio.setSample (0, 0, 1.0f);
    audio.setSample (1, 0, 1.0f);
    reverb.processStereo (audio.getWritePointer (0), audio.getWritePointer (1), 2048);

    const auto echo = 2.0f * 0.015f * 0.5f * 3.0f;
    EXPECT_EQ (audio.getSample (0, 1115), 0.0f);
    EXPECT_NEAR (audio.getSample (0, 1116), echo, 1.0e-7f);
    EXPECT_EQ (audio.getSample (1, 1138), 0.0f);
    EXPECT_NEAR (audio.getSample (1, 1139), echo, 1.0e-7f);
}

// Frozen, nothing enters and nothing decays: the tail keeps its level.
TEST (ReverbKernel, FrozenTailNeitherTakesInputNorDecays)
{
    ReverbKernel reverb;
    reverb.setParameters ({ 0.5f, 0.5f, 1.0f / 3.0f, 0.0f, 1.0f, 0.0f });
    reverb.prepare ({ 48000.0, 4800, 1 });

    juce::AudioBuffer<float> audio (1, 4800);
    auto noise = [&audio] (juce::Random random)
    {
        for (int i = 0; i < audio.getNumSamples(); ++i)
            audio.setSample (0, i, 2.0f * random.nextFloat() - 1.0f);
    };

    noise (juce::Random (1));
    reverb.processMono (audio.getWritePointer (0), 4800);
    reverb.setParameters ({ 0.5f, 0.5f, 1.0f / 3.0f, 0.0f, 1.0f, 1.0f });

    for (int second = 0; second < 4; ++second)
    {
        audio.clear();
        reverb.processMono (audio.getWritePointer (0), 4800);
    }
    const auto frozenLevel = audio.getRMSLevel (0, 0, 4800);

    noise (juce::Random (2));
    reverb.processMono (audio.getWritePointer (0), 4800);
    audio.clear();
    reverb.processMono (audio.getWritePointer (0), 4800);

    EXPECT_GT (frozenLevel, 0.001f);
    EXPECT_NEAR (audio.getRMSLevel (0, 0, 4800) / frozenLevel, 1.0f, 0.05f);
}
} // namespace
