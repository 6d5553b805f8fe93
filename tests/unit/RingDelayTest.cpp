#include "dsp/DspTypes.h"
#include "dsp/RingDelay.h"
#include "tests/support/EquivalenceSignals.h"

#include <gtest/gtest.h>

namespace
{
// Delay times in samples for the four quarters of a render: whole and fractional, zero, the
// longest the line holds.
struct Times
{
    float quarter[4];
};

float timeAt (const Times& times, int start, int length)
{
    return times.quarter[juce::jlimit (0, 3, 4 * start / length)];
}

int maximumDelayFor (double sampleRate) { return static_cast<int> (sampleRate * 0.6); }

// How the stages use a line: fed then read (a pre-delay), read then fed back (an echo), and fed
// then read at two times crossing over (a new time).
enum class Use
{
    feedThenRead,
    feedback,
    twoTimes
};

constexpr float feedbackGain = 0.6f;

float fadeAt (int i, int length) { return static_cast<float> (i) / static_cast<float> (length); }

juce::AudioBuffer<float> renderJuce (Use use, const Times& times, const EquivalenceCase& c, const juce::AudioBuffer<float>& signal)
{
    FractionalDelayLine line;
    line.setMaximumDelayInSamples (maximumDelayFor (c.sampleRate));
    line.prepare ({ c.sampleRate, static_cast<juce::uint32> (c.blockSize), static_cast<juce::uint32> (c.numChannels) });
    auto audio = signal;
    const auto length = audio.getNumSamples();

    forEachBlock (audio, c.blockSize, [&] (juce::AudioBuffer<float>& block, int start)
    {
        const auto delay = timeAt (times, start, length);
        line.setDelay (delay);

        for (int channel = 0; channel < block.getNumChannels(); ++channel)
        {
            auto* x = block.getWritePointer (channel);

            for (int i = 0; i < block.getNumSamples(); ++i)
            {
                if (use == Use::feedThenRead)
                {
                    line.pushSample (channel, x[i]);
                    x[i] = line.popSample (channel);
                }
                else if (use == Use::feedback)
                {
                    const auto repeat = line.popSample (channel);
                    line.pushSample (channel, x[i] + feedbackGain * repeat);
                    x[i] = repeat;
                }
                else
                {
                    line.pushSample (channel, x[i]);
                    const auto f = fadeAt (start + i, length);
                    const auto old = line.popSample (channel, delay, false);
                    const auto fresh = line.popSample (channel, 0.5f * delay + 3.25f, true);
                    x[i] = (1.0f - f) * old + f * fresh;
                }
            }
        }
    });

    return audio;
}

juce::AudioBuffer<float> renderRing (Use use, const Times& times, const EquivalenceCase& c, const juce::AudioBuffer<float>& signal)
{
    RingDelay line;
    line.prepare (c.numChannels, maximumDelayFor (c.sampleRate));
    auto audio = signal;
    const auto length = audio.getNumSamples();
    float a[RingDelay::maximumRun], b[RingDelay::maximumRun];

    forEachBlock (audio, c.blockSize, [&] (juce::AudioBuffer<float>& block, int blockStart)
    {
        const auto delay = timeAt (times, blockStart, length);

        for (int channel = 0; channel < block.getNumChannels(); ++channel)
        {
            auto* x = block.getWritePointer (channel);

            if (use == Use::feedThenRead)
            {
                line.process (channel, x, block.getNumSamples(), delay);
                continue;
            }

            const auto longestRun = use == Use::feedback ? juce::jmax (1, static_cast<int> (delay)) : RingDelay::maximumRun;

            for (int start = 0; start < block.getNumSamples();)
            {
                const auto n = juce::jmin (block.getNumSamples() - start, longestRun, RingDelay::maximumRun);
                auto* run = x + start;

                if (use == Use::feedback)
                {
                    line.read (channel, delay, a, n);
                    for (int i = 0; i < n; ++i)
                        b[i] = run[i] + feedbackGain * a[i];
                    line.write (channel, b, n);
                    std::copy_n (a, n, run);
                }
                else
                {
                    line.write (channel, run, n);
                    line.read (channel, delay, a, n);
                    line.read (channel, 0.5f * delay + 3.25f, b, n);
                    for (int i = 0; i < n; ++i)
                    {
                        const auto f = fadeAt (blockStart + start + i, length);
                        run[i] = (1.0f - f) * a[i] + f * b[i];
                    }
                }

                line.advance (channel, n);
                start += n;
            }
        }
    });

    return audio;
}

struct LineCase
{
    EquivalenceCase where;
    Use use;
};

std::vector<LineCase> lineCases()
{
    std::vector<LineCase> cases;
    for (const auto& c : equivalenceCases())
        for (const auto use : { Use::feedThenRead, Use::feedback, Use::twoTimes })
            cases.push_back ({ c, use });
    return cases;
}

class RingDelayEquivalence : public ::testing::TestWithParam<LineCase>
{
};

TEST_P (RingDelayEquivalence, ReadsWhatJuceDelayLineReadsAsTheTimeChanges)
{
    const auto [c, use] = GetParam();
    const auto longest = static_cast<float> (maximumDelayFor (c.sampleRate));
    const auto times = use == Use::feedback ? Times { { 1.0f, 2.5f, 0.11f * static_cast<float> (c.sampleRate) + 0.37f, longest } }
                                            : Times { { 0.0f, 0.02f * static_cast<float> (c.sampleRate), 385.37f, longest } };
    const auto signal = equivalenceSignal (c.numChannels, c.sampleRate, 1.5);
    const auto expected = renderJuce (use, times, c, signal);
    const auto actual = renderRing (use, times, c, signal);

    ASSERT_GT (peakOf (expected), 0.1f);
    const auto differenceDb = largestDifferenceDb (expected, actual);
    RecordProperty ("largestDifferenceDb", std::to_string (differenceDb));
    EXPECT_LT (differenceDb, -100.0);
}

std::string lineCaseName (const ::testing::TestParamInfo<LineCase>& info)
{
    static const char* const uses[] = { "feedThenRead", "feedback", "twoTimes" };
    return equivalenceCaseName (info.param.where) + "_" + uses[static_cast<int> (info.param.use)];
}

INSTANTIATE_TEST_SUITE_P (RatesChannelsBlocksAndUses, RingDelayEquivalence, ::testing::ValuesIn (lineCases()), lineCaseName);

// An impulse comes out exactly `delay` samples later; half a sample more splits it evenly over
// two samples.
TEST (RingDelay, ImpulseComesOutTheDelayLaterAndAHalfSampleSplitsIt)
{
    RingDelay line;
    line.prepare (1, 100);
    float block[64] {};
    block[0] = 1.0f;
    line.process (0, block, 64, 10.0f);

    for (int i = 0; i < 64; ++i)
        EXPECT_EQ (block[i], i == 10 ? 1.0f : 0.0f) << i;

    line.reset();
    std::fill (std::begin (block), std::end (block), 0.0f);
    block[0] = 1.0f;
    line.process (0, block, 64, 10.5f);

    for (int i = 0; i < 64; ++i)
        EXPECT_EQ (block[i], i == 10 || i == 11 ? 0.5f : 0.0f) << i;
}
} // namespace

// Clearing behind the position zeros exactly the samples asked for, across the ring's wrap, in
// every channel, and leaves the position where it was.
TEST (RingDelay, ClearingBehindThePositionZerosOnlyThoseSamples)
{
    struct Case
    {
        int written, from, count;
    };
    const Case cases[] = { { 3000, 0, 100 }, { 3000, 50, 200 }, { 5000, 10, 1500 }, { 9000, 0, 4096 }, { 700, 600, 5000 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.written) + " written, from " + juce::String (c.from) + ", " + juce::String (c.count));
        RingDelay line;
        line.prepare (2, 2000); // a ring of 4096 samples
        ASSERT_EQ (line.getCapacity(), 4096);

        // Sample k (counted from 1) holds k, so a read `d` back from the position should give written - d.
        for (int k = 1; k <= c.written; ++k)
            for (int channel = 0; channel < 2; ++channel)
            {
                const auto value = static_cast<float> (k);
                line.write (channel, &value, 1);
                line.advance (channel, 1);
            }

        line.clearBehind (c.from, c.count);
        const auto cleared = juce::jmin (c.count, 4096 - c.from);
        for (int channel = 0; channel < 2; ++channel)
            for (int back = 1; back <= 2000; ++back)
            {
                float read = -1.0f;
                line.read (channel, static_cast<float> (back), &read, 1); // 1 back: the newest sample
                const auto age = back;
                const auto wasWritten = age <= c.written;
                const auto isCleared = age > c.from && age <= c.from + cleared;
                const auto expected = isCleared || ! wasWritten ? 0.0f : static_cast<float> (c.written - age + 1);
                ASSERT_EQ (read, expected) << "channel " << channel << ", age " << age;
            }
    }
}
