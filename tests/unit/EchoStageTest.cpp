#include "dsp/EchoStage.h"
#include "plugin/ParamIDs.h"
#include "tests/support/FixedPlayHead.h"
#include "tests/support/ImpulseRepeats.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
constexpr float impulseLevel = 0.5f;

// Tone and dynamics out of the way, the echo set up as given, and the start-up fade and the echo's
// own fade in over, so the main buffer carries the input plus the returns.
std::unique_ptr<ProcessorHarness> echoHarness (double rate, int blockSize, int division, float mix, float feedback)
{
    auto harness = std::make_unique<ProcessorHarness> (rate, blockSize);
    for (const auto* id : { &ParamIDs::lowEnabled, &ParamIDs::highEnabled, &ParamIDs::compEnabled })
        harness->set (*id, 0.0f);
    harness->set (ParamIDs::echoDivision, static_cast<float> (division));
    harness->set (ParamIDs::echoFeedback, feedback);
    harness->set (ParamIDs::echoMix, mix);
    harness->settle();
    return harness;
}

juce::AudioBuffer<float> impulseResponse (ProcessorHarness& harness, int numSamples)
{
    auto audio = signals::impulse (numSamples, impulseLevel);
    harness.process (audio);
    return audio;
}

void expectEchoes (const juce::AudioBuffer<float>& audio, int delay, float mix, float feedback)
{
    expectRepeats (audio, 0, impulseLevel, delay, mix, feedback);
}
} // namespace

TEST (EchoStage, DivisionsGiveTheirTimeAtTheTempo)
{
    struct Case
    {
        int division;
        double bpm;
        float ms;
    };
    const Case cases[] = {
        { 0, 120.0, 120.0f },  { 0, 60.0, 120.0f },   { 1, 120.0, 250.0f },   { 2, 120.0, 500.0f },
        { 2, 98.5, static_cast<float> (60000.0 / 98.5) }, { 1, 30.0, 1000.0f }, { 3, 120.0, 120.0f },
        { -1, 60.0, 120.0f }, { 2, NAN, 500.0f },     { 2, 0.0, 500.0f },     { 1, -40.0, 250.0f },
        { 2, INFINITY, 0.0f }, { 2, 1.0e-300, std::numeric_limits<float>::max() },
    };

    for (const auto& c : cases)
        EXPECT_EQ (divisionToMs (c.division, c.bpm), c.ms) << c.division << " at " << c.bpm << " BPM";
}

TEST (EchoStage, TheDelayStaysBetweenOneSampleAndTheLinesMaximum)
{
    const std::pair<float, float> cases[] = {
        { 120.0f, 5292.0f }, { 500.0f, 22050.0f }, { 2000.0f, 88200.0f }, { 3000.0f, 88200.0f },
        { 0.01f, 1.0f },     { 0.0f, 1.0f },       { -5.0f, 1.0f },       { NAN, 1.0f },
        { INFINITY, 88200.0f }, { -INFINITY, 1.0f }, { std::numeric_limits<float>::max(), 88200.0f },
    };

    for (const auto& [ms, samples] : cases)
        EXPECT_EQ (echoDelayInSamples (ms, 44100.0, 88200), samples) << ms << " ms";
}

TEST (EchoStage, AnImpulseRepeatsEveryDelayScaledByTheFeedback)
{
    struct Case
    {
        double rate;
        int division;
        float manualBpm;
        float mix, feedback;
        int delay;
    };
    const Case cases[] = {
        { 44100.0, 0, 120.0f, 50.0f, 50.0f, 5292 },   // Slap
        { 48000.0, 0, 60.0f, 50.0f, 50.0f, 5760 },    // Slap, whatever the tempo
        { 44100.0, 2, 120.0f, 80.0f, 60.0f, 22050 },  // Quarter
        { 44100.0, 1, 120.0f, 100.0f, 35.0f, 11025 }, // 8th
        { 96000.0, 1, 150.0f, 30.0f, 90.0f, 19200 },  // 8th at 150 BPM: 200 ms
        { 48000.0, 2, 75.0f, 50.0f, 100.0f, 38400 },  // Quarter at 75 BPM, repeats that never decay
        { 44100.0, 2, 25.0f, 50.0f, 50.0f, 88200 },   // Quarter at 25 BPM is 2.4 s: held at 2 s
        { 44100.0, 0, 120.0f, 50.0f, 0.0f, 5292 },    // no feedback: one repeat
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.rate) + " Hz, division " + juce::String (c.division) + ", delay "
                      + juce::String (c.delay));
        auto harness = echoHarness (c.rate, 333, c.division, c.mix, c.feedback);
        harness->processor->setManualBpm (c.manualBpm);
        const auto audio = impulseResponse (*harness, 3 * c.delay + 500);
        expectEchoes (audio, c.delay, c.mix / 100.0f, c.feedback / 100.0f);
    }
}

TEST (EchoStage, TheHostTempoWinsOnlyWhenSyncedAndUsable)
{
    // Quarter at 98.5 BPM and 44.1 kHz: 44100 x 60 / 98.5 = 26862.944 samples; at the manual 120 BPM, 22050.
    const auto hostDelay = 44100.0 * 60.0 / 98.5;
    struct Case
    {
        const char* what;
        bool sync;
        bool hasPlayHead;
        std::optional<double> hostBpm;
        double delay;
    };
    const Case cases[] = {
        { "synced to a host at 98.5 BPM", true, true, 98.5, hostDelay },
        { "sync off", false, true, 98.5, 22050.0 },
        { "host at 1 BPM", true, true, 1.0, 22050.0 },
        { "host reports no tempo", true, true, std::nullopt, 22050.0 },
        { "no play head", true, false, 98.5, 22050.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        auto harness = echoHarness (44100.0, 512, 2, 50.0f, 0.0f);
        FixedPlayHead playHead;
        playHead.bpm = c.hostBpm;
        harness->processor->setPlayHead (c.hasPlayHead ? &playHead : nullptr);
        harness->processor->hostSyncEnabled = c.sync;

        const auto audio = impulseResponse (*harness, 30000);
        for (int channel = 0; channel < 2; ++channel)
        {
            const auto repeat = firstRepeat (audio, channel);
            EXPECT_NEAR (repeat.delay, c.delay, 0.005);
            EXPECT_NEAR (repeat.level, impulseLevel * 0.5f, 1.0e-6f);
        }
        EXPECT_EQ (harness->processor->manualBpm.load(), 120.0f);
    }
}

// Stopped, the echo fades its return out over 20 ms (882 samples at 44.1 kHz) while its line still
// runs; from then on its line is neither read nor written and the pending repeats wait. Started
// again, it fades back in over 20 ms and the repeats carry on from where the line stopped.
TEST (EchoStage, PendingRepeatsResumeWhenTheEchoRunsAgain)
{
    constexpr int fade = 882;
    const std::pair<const juce::String*, float> stoppers[] = { { &ParamIDs::echoMix, 0.0f },
                                                               { &ParamIDs::echoEnabled, 0.0f } };
    for (const auto& [id, stopValue] : stoppers)
    {
        SCOPED_TRACE (*id);
        auto harness = echoHarness (44100.0, 441, 0, 50.0f, 50.0f);
        auto audio = signals::impulse (30000, impulseLevel);
        auto part = [&audio] (int start, int length)
        { return juce::AudioBuffer<float> (audio.getArrayOfWritePointers(), 2, start, length); };

        // Running for 14 blocks (6174 samples): the first repeat at 5292, the second due at 10584.
        auto running = part (0, 6174);
        harness->process (running);
        const auto restartValue = harness->get (*id);
        harness->set (*id, stopValue);
        auto stopped = part (6174, 8820);
        harness->process (stopped);
        harness->set (*id, restartValue);
        auto resumed = part (14994, 15006);
        harness->process (resumed);

        // The line ran on for the fade out: the second repeat arrives 10584 - 6174 - 882 = 3528
        // samples after the restart, past the fade in, and the third 5292 later.
        const auto second = 14994 + 10584 - 6174 - fade;
        EXPECT_NEAR (audio.getSample (0, 5292), impulseLevel * 0.5f, 1.0e-6f);
        EXPECT_EQ (audio.getMagnitude (0, 6174, 8820), 0.0f);
        EXPECT_NEAR (audio.getSample (0, second), impulseLevel * 0.25f, 1.0e-6f);
        EXPECT_NEAR (audio.getSample (1, second + 5292), impulseLevel * 0.125f, 1.0e-6f);
        EXPECT_NEAR (audio.getMagnitude (0, 14994, 15006), impulseLevel * 0.25f, 1.0e-6f);
    }
}

// With both spaces running, switching the echo on adds exactly the clean repeats of the send:
// the echo holds no reverberation and the spaces hold no echo.
TEST (EchoStage, TheEchoAndTheSpacesNeverHearEachOther)
{
    auto render = [] (bool echoOn)
    {
        auto harness = echoHarness (48000.0, 480, 0, 50.0f, 50.0f);
        harness->set (ParamIDs::echoEnabled, echoOn ? 1.0f : 0.0f);
        harness->set (ParamIDs::spaceAMix, 100.0f);
        harness->set (ParamIDs::spaceAType, 1.0f);
        harness->set (ParamIDs::spaceBMix, 100.0f);
        harness->set (ParamIDs::spaceBType, 2.0f);
        harness->set (ParamIDs::spaceBPreDelay, 40.0f);
        harness->settle(); // past the returns' fades in and out
        return impulseResponse (*harness, 3 * 5760 + 500);
    };

    const auto withEcho = render (true);
    const auto withoutEcho = render (false);
    EXPECT_GT (withoutEcho.getMagnitude (0, 1, 5000), 0.001f) << "the spaces must be heard for this to mean anything";

    auto echoOnly = withEcho;
    for (int channel = 0; channel < 2; ++channel)
        echoOnly.addFrom (channel, 0, withoutEcho, channel, 0, echoOnly.getNumSamples(), -1.0f);
    echoOnly.setSample (0, 0, impulseLevel);
    echoOnly.setSample (1, 0, impulseLevel);
    expectEchoes (echoOnly, 5760, 0.5f, 0.5f);
}

TEST (EchoStage, NonFiniteSettingsNeverReachTheLine)
{
    auto harness = echoHarness (44100.0, 512, 2, 50.0f, 50.0f);
    harness->processor->manualBpm = NAN;
    harness->processor->parameters.getRawParameterValue (ParamIDs::echoFeedback)->store (NAN);
    harness->processor->parameters.getRawParameterValue (ParamIDs::echoDivision)->store (NAN);

    const auto audio = impulseResponse (*harness, 20000);
    EXPECT_TRUE (allFinite (audio));
    // Division not a number: the Slap row; feedback not a number: no feedback.
    expectEchoes (audio, 5292, 0.5f, 0.0f);
}
