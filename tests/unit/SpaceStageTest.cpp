#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
constexpr double rate = 48000.0;

// What the reverb's first echo of a unit impulse on both channels must be, worked out from its
// structure: the input is (left + right) x 0.015, it first comes back out of the shortest comb
// (1116 samples at 44.1 kHz scaled to the rate, 23 more on the right), passes the four all-passes
// with its sign flipped four times, and leaves at wet level x 3, mix x 0.85 being the wet level.
constexpr int shortestCombLeft = 48000 * 1116 / 44100;          // 1214
constexpr int shortestCombRight = 48000 * (1116 + 23) / 44100;  // 1239
float firstEchoOfAUnitImpulse (float mixPercent) { return 2.0f * 0.015f * 3.0f * 0.85f * mixPercent / 100.0f; }

struct SpaceIds
{
    const juce::String& enabled;
    const juce::String& mix;
    const juce::String& type;
    const juce::String& preDelay;
};

const SpaceIds spaceA { ParamIDs::spaceAEnabled, ParamIDs::spaceAMix, ParamIDs::spaceAType, ParamIDs::spaceAPreDelay };
const SpaceIds spaceB { ParamIDs::spaceBEnabled, ParamIDs::spaceBMix, ParamIDs::spaceBType, ParamIDs::spaceBPreDelay };

void setSpace (ProcessorHarness& harness, const SpaceIds& space, float mix, int type, float preDelayMs)
{
    harness.set (space.mix, mix);
    harness.set (space.type, static_cast<float> (type));
    harness.set (space.preDelay, preDelayMs);
}

// Tone and dynamics out of the way, so the main buffer carries the input plus the returns.
std::unique_ptr<ProcessorHarness> returnsOnlyHarness()
{
    auto harness = std::make_unique<ProcessorHarness> (rate, 480);
    for (const auto* id : { &ParamIDs::lowEnabled, &ParamIDs::highEnabled, &ParamIDs::compEnabled })
        harness->set (*id, 0.0f);
    return harness;
}

juce::AudioBuffer<float> silence (int numSamples)
{
    juce::AudioBuffer<float> audio (2, numSamples);
    audio.clear();
    return audio;
}

void expectSamplesNear (const juce::AudioBuffer<float>& expected, int expectedStart, const juce::AudioBuffer<float>& actual,
                        int actualStart, int length, float tolerance)
{
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < length; ++i)
            ASSERT_NEAR (actual.getSample (channel, actualStart + i), expected.getSample (channel, expectedStart + i), tolerance)
                << "channel " << channel << ", sample " << i;
}

int firstNonZero (const juce::AudioBuffer<float>& audio, int channel, int from)
{
    for (int i = from; i < audio.getNumSamples(); ++i)
        if (audio.getSample (channel, i) != 0.0f)
            return i;
    return -1;
}
} // namespace

// The dry impulse, then nothing at all until the pre-delay plus the reverb's own first echo.
TEST (SpaceStage, AnImpulseComesBackWetOnlyAfterThePreDelay)
{
    struct Case
    {
        const char* what;
        const SpaceIds& space;
        int type;
        float mix;
        float preDelayMs;
        int preDelaySamples;
    };

    const Case cases[] = {
        { "A, Room, 250 ms", spaceA, 0, 100.0f, 250.0f, 12000 },
        { "A, Cathedral, 12.5 ms", spaceA, 2, 100.0f, 12.5f, 600 },
        { "B, Wide, half mix, no pre-delay", spaceB, 1, 50.0f, 0.0f, 0 },
        { "B, Vast, 500 ms", spaceB, 2, 100.0f, 500.0f, 24000 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        auto harness = returnsOnlyHarness();
        setSpace (*harness, c.space, c.mix, c.type, c.preDelayMs);
        harness->settle();

        auto audio = signals::impulse (30000);
        harness->process (audio);

        EXPECT_EQ (audio.getSample (0, 0), 1.0f);
        EXPECT_EQ (audio.getSample (1, 0), 1.0f);
        EXPECT_EQ (firstNonZero (audio, 0, 1), c.preDelaySamples + shortestCombLeft);
        EXPECT_EQ (firstNonZero (audio, 1, 1), c.preDelaySamples + shortestCombRight);
        EXPECT_NEAR (audio.getSample (0, c.preDelaySamples + shortestCombLeft), firstEchoOfAUnitImpulse (c.mix), 1.0e-6f);
        EXPECT_NEAR (audio.getSample (1, c.preDelaySamples + shortestCombRight), firstEchoOfAUnitImpulse (c.mix), 1.0e-6f);
    }
}

// The reverb would otherwise glide its dry gain down from its own default over its first 10 ms,
// leaking the send into the return; prepared again, it must start silent again.
TEST (SpaceStage, TheFirstBlocksAfterPreparationCarryNoDrySignalInTheReturn)
{
    const auto input = signals::noise (9600, 51);
    auto withSpace = returnsOnlyHarness();
    auto withoutSpace = returnsOnlyHarness();
    setSpace (*withSpace, spaceA, 100.0f, 1, 0.0f);
    setSpace (*withSpace, spaceB, 100.0f, 1, 0.0f);

    for (int preparation = 0; preparation < 2; ++preparation)
    {
        SCOPED_TRACE (preparation);
        if (preparation == 1)
            for (auto* harness : { withSpace.get(), withoutSpace.get() })
                harness->processor->prepareToPlay (rate, 480);

        auto wet = input;
        auto dry = input;
        withSpace->process (wet);
        withoutSpace->process (dry);

        // No return at all before the reverb's first echo; a return after it.
        expectSamplesNear (dry, 0, wet, 0, shortestCombLeft, 0.0f);
        EXPECT_GT (std::abs (wet.getSample (0, 4800) - dry.getSample (0, 4800)), 1.0e-4f);
    }
}

// Both spaces together give exactly the sum of each alone: B is fed the send copy, not A's output.
TEST (SpaceStage, SpaceBDoesNotHearSpaceA)
{
    const auto input = signals::noise (48000, 53);
    juce::AudioBuffer<float> outputs[4]; // none, A, B, both

    for (int run = 0; run < 4; ++run)
    {
        auto harness = returnsOnlyHarness();
        setSpace (*harness, spaceA, (run & 1) != 0 ? 100.0f : 0.0f, 2, 30.0f);
        setSpace (*harness, spaceB, (run & 2) != 0 ? 100.0f : 0.0f, 2, 0.0f);
        outputs[run] = input;
        harness->process (outputs[run]);
    }

    for (int channel = 0; channel < 2; ++channel)
    {
        double returnBEnergy = 0.0;
        for (int i = 0; i < input.getNumSamples(); ++i)
            returnBEnergy += juce::square (outputs[2].getSample (channel, i) - outputs[0].getSample (channel, i));
        EXPECT_GT (returnBEnergy / input.getNumSamples(), 1.0e-4) << "Space B must be audible";

        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_NEAR (outputs[3].getSample (channel, i),
                         outputs[1].getSample (channel, i) + outputs[2].getSample (channel, i) - outputs[0].getSample (channel, i),
                         1.0e-5f)
                << "channel " << channel << ", sample " << i;
    }
}

// A space that stops running (mix to zero, or switched off) goes silent at once and hears nothing;
// when it runs again its tail and its pre-delay continue exactly where they stopped.
// Stopped, a space fades its return out over 20 ms while it still runs; from then on its tail and
// its pre-delay wait, and started again they carry on from there, 20 ms further than the
// uninterrupted instance was when the stop came.
TEST (SpaceStage, AStoppedSpaceFreezesItsTailAndPreDelayThenResumes)
{
    constexpr int fade = 960;
    constexpr int beforeStop = 2400; // the impulse is still inside the 100 ms pre-delay here, and after the fade
    constexpr int stopped = 24000;
    constexpr int afterRestart = 48000;

    for (const auto stopBySwitch : { false, true })
    {
        SCOPED_TRACE (stopBySwitch ? "switched off" : "mix at zero");
        auto reference = returnsOnlyHarness();
        auto paused = returnsOnlyHarness();
        for (auto* harness : { reference.get(), paused.get() })
        {
            setSpace (*harness, spaceA, 100.0f, 2, 100.0f);
            harness->settle();
        }

        auto start = signals::impulse (beforeStop);
        auto referenceStart = start;
        reference->process (referenceStart);
        paused->process (start);
        auto referenceTail = silence (afterRestart);
        reference->process (referenceTail);

        paused->set (stopBySwitch ? ParamIDs::spaceAEnabled : ParamIDs::spaceAMix, 0.0f);
        auto passing = signals::noise (stopped, 55);
        passing.clear (0, fade); // the fade out still feeds the space: silence, as the reference hears
        auto passed = passing;
        paused->process (passed);
        expectSamplesNear (passing, 0, passed, 0, stopped, 0.0f);

        paused->set (stopBySwitch ? ParamIDs::spaceAEnabled : ParamIDs::spaceAMix, stopBySwitch ? 1.0f : 100.0f);
        auto resumedTail = silence (afterRestart);
        paused->process (resumedTail);

        EXPECT_GT (referenceTail.getMagnitude (0, afterRestart), 0.01f);
        EXPECT_EQ (resumedTail.getMagnitude (0, fade), 0.0f) << "nothing reaches the return during the fade in";
        expectSamplesNear (referenceTail, fade, resumedTail, 0, afterRestart - fade, 1.0e-7f);
    }
}

// Blend at zero: exactly the shelved and compressed signal; the spaces still run meanwhile, so
// their tails are there when the blend comes up.
TEST (SpaceStage, BlendAtZeroLeavesOnlyThePostDynamicsSignal)
{
    auto configure = [] (ProcessorHarness& harness, bool spacesOn, float blend)
    {
        harness.set (ParamIDs::lowEnabled, 1.0f);
        harness.set (ParamIDs::lowGain, 6.0f);
        harness.set (ParamIDs::compEnabled, 1.0f);
        harness.set (ParamIDs::compAmount, 60.0f);
        setSpace (harness, spaceA, spacesOn ? 100.0f : 0.0f, 2, 20.0f);
        setSpace (harness, spaceB, spacesOn ? 100.0f : 0.0f, 2, 0.0f);
        harness.set (ParamIDs::blend, blend);
    };

    auto withSpaces = returnsOnlyHarness();
    auto postDynamics = returnsOnlyHarness();
    configure (*withSpaces, true, 0.0f);
    configure (*postDynamics, false, 100.0f);

    const auto input = signals::noise (24000, 59);
    auto blended = input;
    auto expected = input;
    withSpaces->process (blended);
    postDynamics->process (expected);
    expectSamplesNear (expected, 0, blended, 0, input.getNumSamples(), 0.0f);

    withSpaces->set (ParamIDs::blend, 100.0f);
    auto tail = silence (4800);
    withSpaces->process (tail);
    EXPECT_GT (tail.getMagnitude (0, 4800), 1.0e-3f);
}

// A pre-delay taken down to zero leaves its line untouched: the reverb goes on with the undelayed
// send, and raising the pre-delay again first plays out what the line held.
TEST (SpaceStage, APreDelayAtZeroHoldsWhatItsLineHeld)
{
    auto harness = returnsOnlyHarness();
    setSpace (*harness, spaceA, 100.0f, 0, 100.0f); // 4800 samples
    harness->settle();

    auto start = signals::impulse (2400); // the impulse is halfway through the line
    harness->process (start);

    harness->set (ParamIDs::spaceAPreDelay, 0.0f);
    auto held = silence (9600);
    harness->process (held);
    EXPECT_EQ (held.getMagnitude (0, 9600), 0.0f) << "the impulse must stay in the line";

    // The crossover to zero ran the line for 960 more samples: the impulse comes out that much earlier.
    harness->set (ParamIDs::spaceAPreDelay, 100.0f);
    auto released = silence (9600);
    harness->process (released);
    const auto arrival = 2400 - 960 + shortestCombLeft;
    EXPECT_EQ (firstNonZero (released, 0, 0), arrival);
    EXPECT_NEAR (released.getSample (0, arrival), firstEchoOfAUnitImpulse (100.0f), 1.0e-6f);
}
