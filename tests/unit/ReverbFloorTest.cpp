// A reverb tail fed silence sinks to the reverb's rounding floor and circles there; the space then
// clears it over the blocks that follow while the reverb rests. Once cleared, the space is a freshly
// zeroed reverb; fed sound before the clearing ends, it plays that sound over the floor it held.

#include "dsp/SpaceStage.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
constexpr double rate = 48000.0;
constexpr int blockSize = 64;

// One space alone ("Cathedral", full mix, no pre-delay), run block by block as the strip runs it,
// with the send's peak measured as the strip measures it before idling.
struct LoneSpace
{
    LoneSpace()
    {
        stage.prepare ({ rate, static_cast<juce::uint32> (blockSize), 2 }, 2);
        SpaceSettings settings;
        settings.type = 2;
        settings.mix = 1.0f;
        stage.setTargets (settings, true);
    }

    // The return for `input`'s block (its length at most blockSize).
    juce::AudioBuffer<float> play (const juce::AudioBuffer<float>& input, int start)
    {
        juce::AudioBuffer<float> send (2, blockSize), wet (2, blockSize), main (2, blockSize);
        main.clear();
        for (int channel = 0; channel < 2; ++channel)
            send.copyFrom (channel, 0, input, channel, start, blockSize);

        ReturnBuses buses { send, wet, main, 2, blockSize };
        buses.sendPeak = send.getMagnitude (0, blockSize);
        stage.process (buses);
        return main;
    }

    juce::AudioBuffer<float> playSilence()
    {
        juce::AudioBuffer<float> silent (2, blockSize);
        silent.clear();
        return play (silent, 0);
    }

    SpaceStage stage { SpaceKind::a };
};

juce::AudioBuffer<float> impulseBlocks (int numBlocks)
{
    auto audio = signals::impulse (numBlocks * blockSize, 0.5f);
    return audio;
}

// Noise, then silence until a whole block of the return is exact zeros (the reverb resting while
// its lines are zeroed). Returns the largest return of the half second before that block.
float playUntilTheFloorIsCleared (LoneSpace& space)
{
    const auto noise = signals::noise (static_cast<int> (rate / 2) / blockSize * blockSize, 3, 0.5f);
    for (int start = 0; start < noise.getNumSamples(); start += blockSize)
        space.play (noise, start);

    std::vector<float> peaks;
    for (int block = 0; block < static_cast<int> (60.0 * rate) / blockSize; ++block)
    {
        const auto out = space.playSilence();
        const auto peak = out.getMagnitude (0, blockSize);
        if (peak == 0.0f)
        {
            const auto halfSecond = static_cast<int> (rate / 2) / blockSize;
            const auto from = peaks.size() > static_cast<size_t> (halfSecond) ? peaks.end() - halfSecond : peaks.begin();
            return *std::max_element (from, peaks.end());
        }
        peaks.push_back (peak);
    }

    ADD_FAILURE() << "the tail never came to exact silence";
    return 1.0f;
}

float largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    auto largest = 0.0f;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
            largest = juce::jmax (largest, std::abs (a.getSample (channel, i) - b.getSample (channel, i)));
    return largest;
}

// An impulse through `space`, 1.5 s of it, against the same impulse through a reverb that has only
// ever heard silence.
float differenceFromAFreshReverb (LoneSpace& space)
{
    LoneSpace fresh;
    for (int block = 0; block < static_cast<int> (rate) / blockSize; ++block)
        fresh.playSilence(); // its gains have faded in from nothing

    const auto input = impulseBlocks (static_cast<int> (1.5 * rate) / blockSize);
    auto largest = 0.0f;
    for (int start = 0; start < input.getNumSamples(); start += blockSize)
        largest = juce::jmax (largest, largestDifference (space.play (input, start), fresh.play (input, start)));
    return largest;
}
} // namespace

// The tail stops falling 95 to 112 dB down and is then cleared: from that block on, silence.
TEST (ReverbFloor, ATailOnItsFloorEndsInExactSilence)
{
    LoneSpace space;
    const auto floorPeak = playUntilTheFloorIsCleared (space);
    EXPECT_LT (floorPeak, 1.0e-4f) << "cleared only below -80 dBFS";
    EXPECT_GT (floorPeak, 0.0f);

    for (int block = 0; block < static_cast<int> (3.0 * rate) / blockSize; ++block)
        ASSERT_EQ (space.playSilence().getMagnitude (0, blockSize), 0.0f) << "block " << block;
}

// Once the clearing is done (well within a second), the space sounds as a reverb that never held
// anything: every line was zeroed.
TEST (ReverbFloor, OnceClearedTheSpaceIsAFreshReverb)
{
    LoneSpace space;
    playUntilTheFloorIsCleared (space);
    for (int block = 0; block < static_cast<int> (rate) / blockSize; ++block)
        space.playSilence();

    EXPECT_EQ (differenceFromAFreshReverb (space), 0.0f);
}

// Sound arriving in the first block of the clearing: the reverb runs at once, over what is left of
// its floor, so it differs from a fresh reverb by no more than that floor.
TEST (ReverbFloor, SoundArrivingWhileItClearsIsHeardOverNoMoreThanTheFloor)
{
    LoneSpace space;
    const auto floorPeak = playUntilTheFloorIsCleared (space);

    const auto difference = differenceFromAFreshReverb (space);
    EXPECT_GT (difference, 0.0f) << "the clearing had only begun";
    EXPECT_LT (difference, 2.0f * floorPeak);
}
