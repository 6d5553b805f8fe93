// A strip that idles once its input and tails have died away, against the same module told never
// to idle (LUMBRA_NEVER_IDLE, read when an instance is made): the output must not differ by
// -120 dBFS at any sample.

#include "tests/support/ProcessorHarness.h"
#include "tests/support/Vst3Fixture.h"

#include <cstdlib>

namespace
{
using Setting = std::pair<const char*, float>; // display name, normalised value

constexpr float sameWithin = 1.0e-6f; // -120 dBFS

// Every stage engaged, both spaces on their longest type: Low +6 dB (0.75 of -12..12), High -4 dB,
// Dynamics 50 % on Squash, Space A 40 % Cathedral with 40 ms pre-delay (0.08 of 0..500 ms), Space B
// 30 % Vast with 20 ms, Echo 30 % on Quarter with 50 % feedback.
const std::vector<Setting> longestTails {
    { "Low", 0.75f },          { "High", 1.0f / 3.0f },    { "Dynamics", 0.5f },       { "Dynamics Character", 1.0f },
    { "Space A", 0.4f },       { "Space A Type", 1.0f },   { "Space A Pre-Delay", 0.08f }, { "Space B", 0.3f },
    { "Space B Type", 1.0f },  { "Space B Pre-Delay", 0.04f }, { "Echo", 0.3f },        { "Echo Division", 1.0f },
    { "Echo Feedback", 0.5f },
};

// The same stages on short tails (Room, Close, a Slap echo at 35 %): the strip idles within 4 s.
const std::vector<Setting> shortTails {
    { "Low", 0.75f },   { "High", 1.0f / 3.0f }, { "Dynamics", 0.5f }, { "Space A", 0.4f },
    { "Space A Pre-Delay", 0.08f }, { "Space B", 0.3f }, { "Echo", 0.3f },
};

// One piece of a scene: `seconds` of noise (or silence), then settings applied for what follows.
struct Piece
{
    double seconds;
    bool noise;
    std::vector<Setting> then {};
};

class IdlingThroughHost : public Vst3Fixture
{
protected:
    std::unique_ptr<juce::AudioPluginInstance> strip (bool idling, double sampleRate, int blockSize,
                                                      const std::vector<Setting>& settings)
    {
        if (! idling)
            setenv ("LUMBRA_NEVER_IDLE", "1", 1);
        auto instance = load (sampleRate, blockSize);
        unsetenv ("LUMBRA_NEVER_IDLE");

        if (instance != nullptr)
            apply (*instance, settings);
        return instance;
    }

    void apply (juce::AudioPluginInstance& instance, const std::vector<Setting>& settings)
    {
        for (const auto& [name, value] : settings)
        {
            auto* parameter = parameterNamed (instance, name);
            ASSERT_NE (parameter, nullptr) << name;
            parameter->setValueNotifyingHost (value);
        }
    }

    // Plays a scene through one strip: each piece's audio, rounded to whole blocks, then its settings.
    juce::AudioBuffer<float> play (juce::AudioPluginInstance& instance, const std::vector<Piece>& scene,
                                   double sampleRate, int blockSize)
    {
        auto audio = sceneAudio (scene, sampleRate, blockSize);
        int start = 0;

        for (const auto& piece : scene)
        {
            const auto length = blocksOf (piece.seconds, sampleRate, blockSize);
            juce::AudioBuffer<float> part (audio.getArrayOfWritePointers(), 2, start, length);
            process (instance, part, blockSize);
            apply (instance, piece.then);
            start += length;
        }

        return audio;
    }

    static int blocksOf (double seconds, double sampleRate, int blockSize)
    {
        return blockSize * juce::roundToInt (seconds * sampleRate / blockSize);
    }

    static juce::AudioBuffer<float> sceneAudio (const std::vector<Piece>& scene, double sampleRate, int blockSize)
    {
        int total = 0;
        for (const auto& piece : scene)
            total += blocksOf (piece.seconds, sampleRate, blockSize);

        juce::AudioBuffer<float> audio (2, total);
        audio.clear();
        int start = 0, seed = 1;

        for (const auto& piece : scene)
        {
            const auto length = blocksOf (piece.seconds, sampleRate, blockSize);
            if (piece.noise)
            {
                const auto burst = signals::noise (length, seed++, 0.5f);
                for (int channel = 0; channel < 2; ++channel)
                    audio.copyFrom (channel, start, burst, channel, 0, length);
            }
            start += length;
        }

        return audio;
    }

    // The largest difference between two renders, and where it is.
    static std::pair<float, int> largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        std::pair<float, int> largest { 0.0f, -1 };
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < a.getNumSamples(); ++i)
                if (const auto difference = std::abs (a.getSample (channel, i) - b.getSample (channel, i));
                    ! (difference <= largest.first))
                    largest = { difference, i };
        return largest;
    }

    // The same scene through an idling strip and one that never idles; both renders.
    std::pair<juce::AudioBuffer<float>, juce::AudioBuffer<float>> bothWays (const std::vector<Piece>& scene,
                                                                            const std::vector<Setting>& settings,
                                                                            double sampleRate, int blockSize)
    {
        auto idling = strip (true, sampleRate, blockSize, settings);
        auto never = strip (false, sampleRate, blockSize, settings);
        if (idling == nullptr || never == nullptr)
            return {};
        return { play (*idling, scene, sampleRate, blockSize), play (*never, scene, sampleRate, blockSize) };
    }
};

struct RateAndBlock
{
    double sampleRate;
    int blockSize;
};

std::ostream& operator<< (std::ostream& out, const RateAndBlock& c)
{
    return out << c.sampleRate << " Hz, " << c.blockSize << "-sample blocks";
}

class IdlingAcrossSilences : public IdlingThroughHost, public ::testing::WithParamInterface<RateAndBlock>
{
};

std::string rateAndBlockName (const ::testing::TestParamInfo<RateAndBlock>& info)
{
    return std::to_string (juce::roundToInt (info.param.sampleRate)) + "Hz_" + std::to_string (info.param.blockSize);
}
} // namespace

// Half-second bursts of noise with 0.1, 1, 5 and 20 s of silence between them and 1 s after:
// every sample within -120 dBFS of the strip that never idles, and over the last second of the
// 20 s silence (long after the longest tail fell below -140 dBFS) the idling strip's output is
// exact zeros, so it did idle there and woke for the last burst.
TEST_P (IdlingAcrossSilences, OutputMatchesAStripThatNeverIdles)
{
    const auto [sampleRate, blockSize] = GetParam();
    const std::vector<Piece> scene { { 0.5, true }, { 0.1, false }, { 0.5, true }, { 1.0, false }, { 0.5, true },
                                     { 5.0, false }, { 0.5, true }, { 20.0, false }, { 0.5, true }, { 1.0, false } };

    const auto [idling, never] = bothWays (scene, longestTails, sampleRate, blockSize);
    ASSERT_EQ (idling.getNumSamples(), never.getNumSamples());
    ASSERT_GT (idling.getNumSamples(), 0);

    const auto [difference, where] = largestDifference (idling, never);
    EXPECT_LE (difference, sameWithin) << "at " << where / sampleRate << " s";

    const auto lastBurst = idling.getNumSamples() - blocksOf (1.0, sampleRate, blockSize) - blocksOf (0.5, sampleRate, blockSize);
    const auto second = juce::roundToInt (sampleRate);
    EXPECT_EQ (idling.getMagnitude (lastBurst - second, second), 0.0f);
    EXPECT_GT (idling.getMagnitude (lastBurst, blockSize), 0.1f);
}

INSTANTIATE_TEST_SUITE_P (RatesAndBlocks, IdlingAcrossSilences,
                          ::testing::Values (RateAndBlock { 44100.0, 32 }, RateAndBlock { 44100.0, 512 },
                                             RateAndBlock { 96000.0, 32 }, RateAndBlock { 96000.0, 512 }),
                          rateAndBlockName);

// After a burst and 6 s of silence the strip idles; a single sample in the middle of a block, loud
// or just above -120 dBFS, runs the whole chain from that block's first sample: nothing is lost.
TEST_F (IdlingThroughHost, ASingleSampleInTheMiddleOfABlockWakesTheChain)
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;
    constexpr int position = 300;

    for (const auto amplitude : { 0.5f, 2.0e-6f })
    {
        auto idling = strip (true, sampleRate, blockSize, shortTails);
        auto never = strip (false, sampleRate, blockSize, shortTails);
        ASSERT_NE (idling, nullptr);
        ASSERT_NE (never, nullptr);

        auto run = [&] (juce::AudioPluginInstance& instance)
        {
            const std::vector<Piece> lead { { 0.5, true }, { 6.0, false } };
            auto before = play (instance, lead, sampleRate, blockSize);
            auto after = sceneAudio ({ { 1.0, false } }, sampleRate, blockSize);
            for (int channel = 0; channel < 2; ++channel)
                after.setSample (channel, position, amplitude);
            process (instance, after, blockSize);
            return std::pair { std::move (before), std::move (after) };
        };

        const auto [idlingBefore, idlingAfter] = run (*idling);
        const auto [neverBefore, neverAfter] = run (*never);

        EXPECT_EQ (idlingBefore.getMagnitude (idlingBefore.getNumSamples() - blockSize * 10, blockSize * 10), 0.0f);
        EXPECT_LE (largestDifference (idlingBefore, neverBefore).first, sameWithin);
        const auto [difference, where] = largestDifference (idlingAfter, neverAfter);
        EXPECT_LE (difference, sameWithin) << "amplitude " << amplitude << ", sample " << where;
        EXPECT_GT (std::abs (idlingAfter.getSample (0, position)), 0.5f * amplitude) << amplitude;
    }
}

// Settings changed while the strip idles are heard at wake-up as if read every block: the shelves,
// a mix, the echo's division, a space asked to run again with a tail it held while off, and bypass.
TEST_F (IdlingThroughHost, SettingsChangedWhileIdleAreTakenAsIfReadEveryBlock)
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 256;

    struct Case
    {
        const char* what;
        std::vector<Setting> duringBurst, whileIdle;
    };

    const Case cases[] = {
        { "shelves, mix and echo division", {}, { { "Low", 0.0f }, { "High", 1.0f }, { "Space A", 0.8f }, { "Echo Division", 0.5f } } },
        { "a space that waited with its tail", { { "Space B", 0.0f } }, { { "Space B", 0.6f } } },
        { "a stage switched on that waited with its memory", { { "Dynamics Enabled", 0.0f } }, { { "Dynamics Enabled", 1.0f } } },
        { "bypass", {}, { { "Bypass", 1.0f } } },
    };

    for (const auto& c : cases)
    {
        const std::vector<Piece> scene { { 0.4, true, c.duringBurst }, { 0.1, true }, { 5.0, false, c.whileIdle },
                                         { 1.0, false }, { 0.5, true }, { 1.0, false } };
        const auto [idling, never] = bothWays (scene, shortTails, sampleRate, blockSize);
        ASSERT_GT (idling.getNumSamples(), 0);

        const auto [difference, where] = largestDifference (idling, never);
        EXPECT_LE (difference, sameWithin) << c.what << ", at " << where / sampleRate << " s";
    }
}
