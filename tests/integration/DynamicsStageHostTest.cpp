#include "tests/support/ProcessorHarness.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
// A 1 kHz square wave at 48 kHz: a level a peak detector settles on exactly.
juce::AudioBuffer<float> square (float amplitude, int numSamples)
{
    juce::AudioBuffer<float> audio (2, numSamples);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < numSamples; ++i)
            audio.setSample (channel, i, (i / 24) % 2 == 0 ? amplitude : -amplitude);
    return audio;
}

class DynamicsThroughHost : public Vst3Fixture
{
protected:
    void SetUp() override
    {
        Vst3Fixture::SetUp();
        ASSERT_NE (plugin, nullptr);
        set ("Low Enabled", 0.0f);
        set ("High Enabled", 0.0f);
    }

    void set (const juce::String& name, float normalised) { parameterNamed (*plugin, name)->setValueNotifyingHost (normalised); }
};
} // namespace

// "Snap" (ratio 4) at 100 %: threshold -24 dB, makeup +6 dB. A tone at -6 dB comes out at
// -24 + 18 / 4 + 6 = -13.5 dB.
TEST_F (DynamicsThroughHost, ASteadyToneSettlesOnTheStaticCurve)
{
    set ("Dynamics", 1.0f);
    set ("Dynamics Character", 0.5f);

    auto audio = square (0.5012f, 48000);
    process (*plugin, audio, 512);
    EXPECT_NEAR (peakDb (audio, 0, 43200, 4800), -13.5f, 0.1f);
    EXPECT_NEAR (peakDb (audio, 1, 43200, 4800), -13.5f, 0.1f);
}

TEST_F (DynamicsThroughHost, SwitchedOffItChangesNothing)
{
    set ("Dynamics", 1.0f);
    set ("Dynamics Character", 1.0f);
    set ("Dynamics Enabled", 0.0f);

    auto audio = signals::noise (48000, 45, 0.9f);
    const auto input = audio;
    process (*plugin, audio, 512);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 960; i < audio.getNumSamples(); ++i)
            ASSERT_EQ (audio.getSample (channel, i), input.getSample (channel, i)) << i;
}
