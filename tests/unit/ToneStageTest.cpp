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

    const auto input = signals::noise (8192, 4);
    auto output = input;
    harness.process (output);
    expectBitExact (input, output);
}

// On, off, on again with another character: the third block continues from the memory the band had
// at the end of the first, as one uninterrupted filter whose coefficients changed in between.
TEST (ToneStage, ABandSwitchedOffAndOnResumesFromItsMemoryWithTheNewCharacter)
{
    constexpr double rate = 48000.0;
    constexpr int blockLength = 480;

    for (const auto band : { Band::low, Band::high })
    {
        SCOPED_TRACE (band == Band::low ? "low" : "high");
        const auto other = band == Band::low ? Band::high : Band::low;
        const auto firstCorner = band == Band::low ? 200.0 : 8000.0;
        const auto secondCorner = band == Band::low ? 80.0 : 10000.0;
        const auto secondCharacter = band == Band::low ? 1 : 2;

        auto harness = toneOnlyHarness (rate);
        setBand (harness, other, false, 0, 0.0f);
        setBand (harness, band, true, 0, 12.0f);

        auto audio = signals::noise (3 * blockLength, 8);
        const auto input = audio;
        processSlice (*harness.processor, audio, 0, blockLength);
        harness.set (band == Band::low ? ParamIDs::lowEnabled : ParamIDs::highEnabled, 0.0f);
        processSlice (*harness.processor, audio, blockLength, blockLength);
        setBand (harness, band, true, secondCharacter, -12.0f);
        processSlice (*harness.processor, audio, 2 * blockLength, blockLength);

        for (int channel = 0; channel < 2; ++channel)
        {
            CookbookShelf reference (band, rate, firstCorner, 12.0);
            CookbookShelf freshFilter (band, rate, secondCorner, -12.0);
            for (int i = 0; i < blockLength; ++i)
                reference.process (input.getSample (channel, i));
            reference.retune (freshFilter);

            for (int i = blockLength; i < 2 * blockLength; ++i)
                ASSERT_EQ (audio.getSample (channel, i), input.getSample (channel, i)) << "off block, sample " << i;

            double differenceFromAFreshStart = 0.0;
            for (int i = 2 * blockLength; i < 3 * blockLength; ++i)
            {
                const auto x = input.getSample (channel, i);
                const auto expected = reference.process (x);
                differenceFromAFreshStart = std::max (differenceFromAFreshStart, std::abs (freshFilter.process (x) - expected));
                ASSERT_NEAR (audio.getSample (channel, i), expected, 1.0e-3) << "sample " << i;
            }
            EXPECT_GT (differenceFromAFreshStart, 0.01) << "the memory must matter for this test to mean anything";
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

        const auto response = impulseResponse (harness);
        ASSERT_TRUE (allFinite (response));
        EXPECT_LT (response.getMagnitude (0, response.getNumSamples() - 1000, 1000), 1.0e-6f);

        const CookbookShelf expected (Band::high, c.rate, c.expectedCornerHz, 12.0);
        for (const auto frequency : { 1000.0, c.expectedCornerHz, 0.49 * c.rate })
            EXPECT_NEAR (responseDb (response, 0, frequency, c.rate), expected.magnitudeDb (frequency, c.rate), 0.1)
                << frequency << " Hz";
    }
}
