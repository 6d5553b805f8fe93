#include "tests/support/CookbookShelf.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/SignalAnalysis.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
constexpr double rate = 48000.0;

class ToneThroughHost : public Vst3Fixture
{
protected:
    void SetUp() override
    {
        Vst3Fixture::SetUp();
        ASSERT_NE (plugin, nullptr);
        setNormalised ("Dynamics Enabled", 0.0f);
        settle();
    }

    void setNormalised (const juce::String& name, float value)
    {
        auto* parameter = parameterNamed (*plugin, name);
        ASSERT_NE (parameter, nullptr) << name;
        parameter->setValueNotifyingHost (value);
    }

    // Band gains run from -12 to +12 dB; three characters map to 0, 0.5 and 1.
    void setGainDb (const juce::String& name, float decibels) { setNormalised (name, (decibels + 12.0f) / 24.0f); }

    void settle()
    {
        juce::AudioBuffer<float> silence (2, 4800);
        silence.clear();
        process (*plugin, silence, 512);
    }
};
} // namespace

// "Deep" cut at -12 dB and "Sheen" boost at +12 dB in series: the dB responses add.
TEST_F (ToneThroughHost, BothShelvesInSeriesFollowTheSecondOrderShelfFormula)
{
    setGainDb ("Low", -12.0f);
    setNormalised ("Low Character", 0.5f);
    setGainDb ("High", 12.0f);
    setNormalised ("High Character", 0.5f);
    settle(); // past the gains' glides

    auto response = signals::impulse (32768);
    process (*plugin, response, 512);

    const CookbookShelf deep (Band::low, rate, 80.0, -12.0);
    const CookbookShelf sheen (Band::high, rate, 5000.0, 12.0);
    for (const auto frequency : { 20.0, 80.0, 1000.0, 5000.0, 20000.0 })
        for (int channel = 0; channel < 2; ++channel)
            EXPECT_NEAR (responseDb (response, channel, frequency, rate),
                         deep.magnitudeDb (frequency, rate) + sheen.magnitudeDb (frequency, rate), 0.1)
                << frequency << " Hz";
}

TEST_F (ToneThroughHost, BandsSwitchedOffLeaveTheSignalBitExact)
{
    setGainDb ("Low", 12.0f);
    setGainDb ("High", -12.0f);
    setNormalised ("Low Enabled", 0.0f);
    setNormalised ("High Enabled", 0.0f);
    settle(); // past the crossover to off

    auto audio = signals::noise (8192, 31);
    const auto input = audio;
    process (*plugin, audio, 512);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            ASSERT_EQ (audio.getSample (channel, i), input.getSample (channel, i)) << i;
}
