// Tempo-synced pre-delays through the built module, with the host's transport reporting the tempo.

#include "tests/support/FixedPlayHead.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/Vst3Fixture.h"

#include <cmath>

namespace
{
constexpr double rate = 48000.0;
constexpr int shortestComb = 1214; // Space A's reverb: its first echo after its input, at 48 kHz
constexpr float firstEchoAtFullMix = 2.0f * 0.015f * 3.0f * 0.85f;

// A note value in beats (a quarter is one) at a tempo, in samples at 48 kHz.
double samplesOf (double beats, double bpm) { return 60.0 / bpm * beats * rate; }

class SyncedPreDelayThroughHost : public Vst3Fixture
{
protected:
    // A fresh instance following `playHead`, tone and dynamics off, one space at full mix with its
    // pre-delay synced at `setting` ms (which selects the note value), settled past the start-up fade.
    std::unique_ptr<juce::AudioPluginInstance> syncedInstance (const char* space, float setting)
    {
        auto instance = load (rate, 512);
        if (instance == nullptr)
            return instance;

        instance->setPlayHead (&playHead);
        for (const auto* name : { "Low Enabled", "High Enabled", "Dynamics Enabled" })
            parameterNamed (*instance, name)->setValueNotifyingHost (0.0f);
        const juce::String prefix (space);
        parameterNamed (*instance, prefix)->setValueNotifyingHost (1.0f);
        parameterNamed (*instance, prefix + " Pre-Delay")->setValueNotifyingHost (setting / 500.0f);
        parameterNamed (*instance, prefix + " Pre-Delay Sync")->setValueNotifyingHost (1.0f);

        juce::AudioBuffer<float> silence (2, 4608);
        silence.clear();
        process (*instance, silence, 512);
        return instance;
    }

    FixedPlayHead playHead;
};

// The return of an impulse at `at`: silent until the pre-delay plus the shortest comb, then the
// reverb's first echo split over two samples by the delay's fraction.
void expectArrival (const juce::AudioBuffer<float>& audio, int at, double delay, bool checkLevel)
{
    const auto whole = static_cast<int> (std::floor (delay));
    const auto fraction = static_cast<float> (delay - whole);
    const auto onset = at + whole + shortestComb;

    for (int channel = 0; channel < 2; ++channel)
        EXPECT_EQ (audio.getMagnitude (channel, at + 1, onset - at - 1), 0.0f) << "nothing before the note value, channel " << channel;
    EXPECT_NE (audio.getSample (0, onset), 0.0f);

    // The delay is held as a float: below 16384 samples its fraction is good to 1/2048 of a sample.
    if (checkLevel)
    {
        EXPECT_NEAR (audio.getSample (0, onset), firstEchoAtFullMix * (1.0f - fraction), 1.0e-4f);
        EXPECT_NEAR (audio.getSample (0, onset + 1), firstEchoAtFullMix * fraction, 1.0e-4f);
    }
}
} // namespace

// Each space's pre-delay is its note value at the host's tempo, to the sample and its fraction.
TEST_F (SyncedPreDelayThroughHost, AnImpulseArrivesAfterTheNoteValueAtTheHostsTempo)
{
    struct Case
    {
        const char* space;
        double bpm;
        float setting;
        const char* note;
        double beats;
    };
    const Case cases[] = {
        { "Space A", 60.0, 480.0f, "1/4 D", 1.5 },        // 72000 samples
        { "Space A", 120.5, 250.0f, "1/8 T", 1.0 / 3.0 }, // 7966.80
        { "Space A", 120.5, 340.0f, "1/8", 0.5 },         // 11950.21
        { "Space A", 300.0, 0.0f, "1/64", 1.0 / 16.0 },   // 600
        { "Space A", 300.0, 40.0f, "1/32 T", 1.0 / 12.0 }, // 800
        { "Space B", 120.5, 300.0f, "1/16 D", 0.375 },    // 8962.66
        { "Space B", 60.0, 460.0f, "1/4", 1.0 },          // 48000
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.space) + ", " + c.note + " at " + juce::String (c.bpm) + " BPM");
        playHead.bpm = c.bpm;
        auto instance = syncedInstance (c.space, c.setting);
        ASSERT_NE (instance, nullptr);

        const auto delay = samplesOf (c.beats, c.bpm);
        auto audio = signals::impulse (static_cast<int> (delay) + shortestComb + 512);
        process (*instance, audio, 512);
        expectArrival (audio, 0, delay, juce::String (c.space) == "Space A");
        instance->setPlayHead (nullptr);
    }
}

// The host's tempo changes from 120 to 60 BPM in the middle of a render: an impulse before the
// change arrives an eighth at 120 (12000 samples) later, one after the crossover an eighth at 60
// (24000). The second impulse's own return is what a second render with it adds to one without it.
TEST_F (SyncedPreDelayThroughHost, AHostTempoChangeMidRenderMovesTheNoteValueWithIt)
{
    constexpr int change = 30 * 512, secondImpulse = change + 4 * 512;
    constexpr int length = secondImpulse + 24000 + shortestComb + 1024;

    auto render = [this] (bool withSecondImpulse)
    {
        playHead.bpm = 120.0;
        auto instance = syncedInstance ("Space A", 340.0f);
        auto audio = signals::impulse (length);
        if (withSecondImpulse)
            audio.setSample (0, secondImpulse, 1.0f), audio.setSample (1, secondImpulse, 1.0f);

        if (instance != nullptr)
        {
            juce::AudioBuffer<float> before (audio.getArrayOfWritePointers(), 2, 0, change);
            process (*instance, before, 512);
            playHead.bpm = 60.0;
            juce::AudioBuffer<float> after (audio.getArrayOfWritePointers(), 2, change, length - change);
            process (*instance, after, 512);
            instance->setPlayHead (nullptr);
        }
        return audio;
    };

    const auto withOne = render (false);
    const auto withTwo = render (true);
    expectArrival (withOne, 0, 12000.0, true);

    auto secondReturn = withTwo;
    for (int channel = 0; channel < 2; ++channel)
        secondReturn.addFrom (channel, 0, withOne, channel, 0, length, -1.0f);
    EXPECT_EQ (secondReturn.getMagnitude (0, 0, secondImpulse), 0.0f);
    expectArrival (secondReturn, secondImpulse, 24000.0, true);
}

// The host shows the note value and its time at the tempo it reports, and takes typed note values.
TEST_F (SyncedPreDelayThroughHost, TheHostShowsAndTakesNoteValues)
{
    playHead.bpm = 98.5;
    auto instance = syncedInstance ("Space A", 340.0f);
    ASSERT_NE (instance, nullptr);
    auto* preDelay = parameterNamed (*instance, "Space A Pre-Delay");
    const auto dot = juce::String::charToString (0x00b7);

    EXPECT_EQ (preDelay->getText (340.0f / 500.0f, 128), "1/8 " + dot + " 304.6 ms"); // 30000 / 98.5
    EXPECT_EQ (preDelay->getText (400.0f / 500.0f, 128), "1/8 D " + dot + " 456.9 ms");
    EXPECT_EQ (parameterNamed (*instance, "Space B Pre-Delay")->getText (400.0f / 500.0f, 128), "400.0");

    const auto typed = preDelay->getValueForText ("1/16 T") * 500.0f;
    EXPECT_GE (typed, 4 * 500.0f / 14.0f);
    EXPECT_LT (typed, 5 * 500.0f / 14.0f);
    instance->setPlayHead (nullptr);
}
