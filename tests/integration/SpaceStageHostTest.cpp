#include "tests/support/ProcessorHarness.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
class SpacesThroughHost : public Vst3Fixture
{
protected:
    // A fresh instance at 48 kHz with tone and dynamics switched off, so the output is the input
    // plus the returns; each setting is a (parameter name, normalised value) pair.
    std::unique_ptr<juce::AudioPluginInstance> instanceWith (std::initializer_list<std::pair<const char*, float>> settings)
    {
        auto instance = load (48000.0, 512);
        if (instance == nullptr)
            return instance;

        for (const auto* name : { "Low Enabled", "High Enabled", "Dynamics Enabled" })
            parameterNamed (*instance, name)->setValueNotifyingHost (0.0f);
        for (const auto& [name, value] : settings)
            parameterNamed (*instance, name)->setValueNotifyingHost (value);

        juce::AudioBuffer<float> silence (2, 4800);
        silence.clear();
        process (*instance, silence, 512);
        return instance;
    }
};
} // namespace

// Space A at full mix with 250 ms of pre-delay (12000 samples): the dry impulse, then silence until
// the pre-delay plus the reverb's shortest comb (1214 samples at 48 kHz), whose first echo is
// 2 x 0.015 x 3 x 0.85 = 0.0765.
TEST_F (SpacesThroughHost, AnImpulseComesBackWetOnlyAfterThePreDelay)
{
    auto instance = instanceWith ({ { "Space A", 1.0f }, { "Space A Pre-Delay", 0.5f } });
    ASSERT_NE (instance, nullptr);

    auto audio = signals::impulse (16384);
    process (*instance, audio, 512);

    EXPECT_EQ (audio.getSample (0, 0), 1.0f);
    EXPECT_EQ (audio.getMagnitude (0, 1, 12000 + 1214 - 1), 0.0f);
    EXPECT_NEAR (audio.getSample (0, 12000 + 1214), 0.0765f, 1.0e-6f);
    EXPECT_GT (audio.getMagnitude (0, 13215, 3000), 0.01f);
}

// Both spaces, blend at 100 % and then 0 %: the returns add as each alone would, and blend 0
// leaves the input alone.
TEST_F (SpacesThroughHost, ParallelReturnsAddUpAndVanishAtBlendZero)
{
    const auto input = signals::noise (48000, 61);
    const std::pair<const char*, float> spaceAOn { "Space A", 1.0f }, spaceBOn { "Space B", 0.8f };
    const std::pair<const char*, float> aTypeAndDelay[] = { { "Space A Type", 1.0f }, { "Space A Pre-Delay", 0.08f } };

    auto run = [&] (std::initializer_list<std::pair<const char*, float>> settings)
    {
        auto instance = instanceWith (settings);
        EXPECT_NE (instance, nullptr);
        auto audio = input;
        if (instance != nullptr)
            process (*instance, audio, 512);
        return audio;
    };

    const auto none = run ({});
    const auto onlyA = run ({ spaceAOn, aTypeAndDelay[0], aTypeAndDelay[1] });
    const auto onlyB = run ({ spaceBOn });
    const auto both = run ({ spaceAOn, aTypeAndDelay[0], aTypeAndDelay[1], spaceBOn });
    const auto bothBlendZero = run ({ spaceAOn, aTypeAndDelay[0], aTypeAndDelay[1], spaceBOn, { "Blend", 0.0f } });

    EXPECT_GT (both.getMagnitude (0, 24000, 24000), none.getMagnitude (0, 24000, 24000) + 0.05f);
    for (int channel = 0; channel < 2; ++channel)
    {
        for (int i = 0; i < input.getNumSamples(); ++i)
        {
            ASSERT_NEAR (both.getSample (channel, i),
                         onlyA.getSample (channel, i) + onlyB.getSample (channel, i) - none.getSample (channel, i), 1.0e-5f)
                << i;
            ASSERT_EQ (bothBlendZero.getSample (channel, i), none.getSample (channel, i)) << i;
        }
    }
}

// Mix to zero for a while (noise meanwhile passes untouched), then back up: after the fades out and
// in (20 ms each, during which the space still runs), the tail picks up exactly where an
// uninterrupted instance is two blocks after the mix went down.
TEST_F (SpacesThroughHost, MixAtZeroFreezesTheTailUntilItComesBack)
{
    constexpr int fade = 960;
    constexpr int ranOn = 1024; // the space runs to the end of the block in which its fade out ends
    auto reference = instanceWith ({ { "Space B", 1.0f }, { "Space B Type", 1.0f } });
    auto paused = instanceWith ({ { "Space B", 1.0f }, { "Space B Type", 1.0f } });
    ASSERT_NE (reference, nullptr);
    ASSERT_NE (paused, nullptr);

    auto start = signals::impulse (4096);
    auto referenceStart = start;
    process (*reference, referenceStart, 512);
    process (*paused, start, 512);

    parameterNamed (*paused, "Space B")->setValueNotifyingHost (0.0f);
    auto passing = signals::noise (9728, 63);
    passing.clear (0, 1024); // the fade out still feeds the space: silence, as the reference hears
    const auto noise = passing;
    process (*paused, passing, 512);
    for (int i = 1024; i < noise.getNumSamples(); ++i) // the tail fades out over the first 960
        ASSERT_EQ (passing.getSample (0, i), noise.getSample (0, i)) << i;

    parameterNamed (*paused, "Space B")->setValueNotifyingHost (1.0f);
    juce::AudioBuffer<float> referenceTail (2, 24576), resumedTail (2, 24576);
    referenceTail.clear();
    resumedTail.clear();
    process (*reference, referenceTail, 512);
    process (*paused, resumedTail, 512);

    EXPECT_GT (referenceTail.getMagnitude (0, 0, 24576), 0.01f);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = fade; i + ranOn < referenceTail.getNumSamples(); ++i)
            ASSERT_NEAR (resumedTail.getSample (channel, i), referenceTail.getSample (channel, i + ranOn), 1.0e-7f) << i;
}
