#include "plugin/ParamIDs.h"
#include "tests/support/CookbookShelf.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/SignalAnalysis.h"

#include <gtest/gtest.h>

namespace
{
// Only the tone stage acts: no compression, no returns, the trims' start-up fade already over.
ProcessorHarness toneOnlyHarness (double sampleRate = 48000.0)
{
    ProcessorHarness harness (sampleRate, 512);
    harness.set (ParamIDs::compEnabled, 0.0f);
    harness.settle();
    return harness;
}

void setBand (ProcessorHarness& harness, Band band, bool enabled, int character, float gainDb)
{
    const auto isLow = band == Band::low;
    harness.set (isLow ? ParamIDs::lowEnabled : ParamIDs::highEnabled, enabled ? 1.0f : 0.0f);
    harness.set (isLow ? ParamIDs::lowMode : ParamIDs::highMode, static_cast<float> (character));
    harness.set (isLow ? ParamIDs::lowGain : ParamIDs::highGain, gainDb);
}

juce::AudioBuffer<float> impulseResponse (ProcessorHarness& harness, int length = 32768)
{
    auto audio = signals::impulse (length);
    harness.process (audio);
    return audio;
}

// A crossover's progress from rest to rest: leaves and arrives with no speed and no bend.
double sCurve (double x)
{
    return x * x * x * (10.0 - 15.0 * x + 6.0 * x * x);
}

void expectBitExact (const juce::AudioBuffer<float>& expected, const juce::AudioBuffer<float>& actual)
{
    for (int channel = 0; channel < expected.getNumChannels(); ++channel)
        for (int i = 0; i < expected.getNumSamples(); ++i)
            ASSERT_EQ (actual.getSample (channel, i), expected.getSample (channel, i)) << channel << ", " << i;
}

struct ShelfCase
{
    Band band;
    int character;
    const char* name;
    double cornerHz;
};

const ShelfCase shelfCases[] = {
    { Band::low, 0, "Warm", 200.0 },    { Band::low, 1, "Deep", 80.0 },     { Band::low, 2, "Air-Cut", 400.0 },
    { Band::high, 0, "Silk", 8000.0 }, { Band::high, 1, "Sheen", 5000.0 }, { Band::high, 2, "Crisp", 10000.0 },
};
} // namespace

TEST (ToneStage, EachCharacterMatchesTheSecondOrderShelfAtTwentyHertzTheCornerAndTwentyKilohertz)
{
    constexpr double rate = 48000.0;

    for (const auto& shelf : shelfCases)
    {
        for (const auto gainDb : { 12.0f, -12.0f })
        {
            SCOPED_TRACE (juce::String (shelf.name) + " at " + juce::String (gainDb) + " dB");
            auto harness = toneOnlyHarness (rate);
            const auto other = shelf.band == Band::low ? Band::high : Band::low;
            setBand (harness, other, false, 0, 0.0f);
            setBand (harness, shelf.band, true, shelf.character, gainDb);
            harness.settle(); // past the gain's glide

            const auto response = impulseResponse (harness);
            const CookbookShelf expected (shelf.band, rate, shelf.cornerHz, gainDb);
            // A cookbook shelf sits at half its gain at the corner: a check on the reference itself.
            ASSERT_NEAR (expected.magnitudeDb (shelf.cornerHz, rate), gainDb / 2.0, 1.0e-3);

            for (const auto frequency : { 20.0, shelf.cornerHz, 20000.0 })
                for (int channel = 0; channel < 2; ++channel)
                    EXPECT_NEAR (responseDb (response, channel, frequency, rate), expected.magnitudeDb (frequency, rate), 0.1)
                        << frequency << " Hz, channel " << channel;
        }
    }
}

TEST (ToneStage, ZeroDecibelsIsFlatForEveryCharacter)
{
    for (int character = 0; character < 3; ++character)
    {
        SCOPED_TRACE (character);
        auto harness = toneOnlyHarness();
        setBand (harness, Band::low, true, character, 0.0f);
        setBand (harness, Band::high, true, character, 0.0f);
        harness.settle(); // past the corners' glide to the character

        const auto input = signals::noise (8192, 21 + character);
        auto output = input;
        harness.process (output);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < output.getNumSamples(); ++i)
                ASSERT_NEAR (output.getSample (channel, i), input.getSample (channel, i), 1.0e-5f) << i;
    }
}

TEST (ToneStage, BothBandsOffLeaveTheSignalBitExact)
{
    auto harness = toneOnlyHarness();
    setBand (harness, Band::low, false, 1, 12.0f);
    setBand (harness, Band::high, false, 2, -12.0f);
    harness.settle(); // past the bands' crossover to off

    const auto input = signals::noise (8192, 4);
    auto output = input;
    harness.process (output);
    expectBitExact (input, output);
}

// Switched off, a band crosses over to the unfiltered signal in 20 ms (along the glides' S-curve),
// then stops and keeps its memory; switched on again it crosses back to a filter resuming from that
// memory.
TEST (ToneStage, ABandSwitchedOffKeepsItsMemoryAndCrossesBackIn)
{
    constexpr double rate = 48000.0;
    constexpr int fade = 960; // 20 ms
    constexpr int running = 480;

    for (const auto band : { Band::low, Band::high })
    {
        SCOPED_TRACE (band == Band::low ? "low" : "high");
        const auto enabledId = band == Band::low ? ParamIDs::lowEnabled : ParamIDs::highEnabled;
        auto harness = toneOnlyHarness (rate);
        setBand (harness, band == Band::low ? Band::high : Band::low, false, 0, 0.0f);
        setBand (harness, band, true, 1, 12.0f);
        harness.settle();

        auto audio = signals::noise (running + 2 * fade + fade + running, 8);
        const auto input = audio;
        const auto offAt = running, onAt = running + 2 * fade;
        processSlice (*harness.processor, audio, 0, offAt);
        harness.set (enabledId, 0.0f);
        processSlice (*harness.processor, audio, offAt, fade); // a block that ends with the crossover
        processSlice (*harness.processor, audio, offAt + fade, onAt - offAt - fade);
        harness.set (enabledId, 1.0f);
        processSlice (*harness.processor, audio, onAt, audio.getNumSamples() - onAt);

        for (int channel = 0; channel < 2; ++channel)
        {
            const CookbookShelf design (band, rate, band == Band::low ? 80.0 : 5000.0, 12.0);
            auto filter = design, freshFilter = design;
            double differenceFromAFreshStart = 0.0;

            for (int i = 0; i < audio.getNumSamples(); ++i)
            {
                const auto x = input.getSample (channel, i);
                const auto actual = audio.getSample (channel, i);

                if (i < offAt)
                    ASSERT_NEAR (actual, filter.process (x), 2.0e-4) << "on, sample " << i;
                else if (i < offAt + fade)
                {
                    const auto on = 1.0 - sCurve ((i - offAt + 1) / static_cast<double> (fade));
                    ASSERT_NEAR (actual, (1.0 - on) * x + on * filter.process (x), 2.0e-4) << "crossing to off, sample " << i;
                }
                else if (i < onAt)
                    ASSERT_EQ (actual, input.getSample (channel, i)) << "off, sample " << i;
                else
                {
                    const auto on = sCurve (juce::jmin (1.0, (i - onAt + 1) / static_cast<double> (fade)));
                    const auto expected = (1.0 - on) * x + on * filter.process (x);
                    const auto fromAFreshStart = (1.0 - on) * x + on * freshFilter.process (x);
                    differenceFromAFreshStart = std::max (differenceFromAFreshStart, std::abs (fromAFreshStart - expected));
                    ASSERT_NEAR (actual, expected, 2.0e-4) << "crossing back, sample " << i;
                }
            }

            // The 80 Hz shelf remembers long enough to tell a resumed filter from a fresh one.
            if (band == Band::low)
            {
                EXPECT_GT (differenceFromAFreshStart, 2.0e-3) << "the memory must matter for this test to mean anything";
            }
        }
    }
}

// Below 22.2 kHz "Crisp" would reach 0.45 of the rate: the corner stops there, and the shelf stays stable.
TEST (ToneStage, ACornerNearNyquistIsHeldAtFortyFivePercentOfTheRate)
{
    struct Case
    {
        double rate;
        double expectedCornerHz;
    };

    for (const auto& c : { Case { 16000.0, 7200.0 }, Case { 22050.0, 9922.5 }, Case { 44100.0, 10000.0 } })
    {
        SCOPED_TRACE (c.rate);
        auto harness = toneOnlyHarness (c.rate);
        setBand (harness, Band::low, false, 0, 0.0f);
        setBand (harness, Band::high, true, 2, 12.0f);
        harness.settle();

        const auto response = impulseResponse (harness);
        ASSERT_TRUE (allFinite (response));
        EXPECT_LT (response.getMagnitude (0, response.getNumSamples() - 1000, 1000), 1.0e-6f);

        const CookbookShelf expected (Band::high, c.rate, c.expectedCornerHz, 12.0);
        for (const auto frequency : { 1000.0, c.expectedCornerHz, 0.49 * c.rate })
            EXPECT_NEAR (responseDb (response, 0, frequency, c.rate), expected.magnitudeDb (frequency, c.rate), 0.1)
                << frequency << " Hz";
    }
}
