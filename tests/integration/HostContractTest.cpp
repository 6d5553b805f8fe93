#include "tests/support/ProcessorHarness.h"
#include "tests/support/ReleaseVersion.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
struct HostParameter
{
    const char* name;
    const char* unit;
    float normalisedDefault;
    const char* defaultText;
};

// What a host shows for a fresh instance: the 28 parameters, then the wrapper's own "Bypass".
const HostParameter hostParameters[] = {
    { "Input", "dB", 0.5f, "0.0" },
    { "Low", "dB", 0.5f, "0.0" },
    { "Low Character", "", 0.0f, "Warm" },
    { "Low Enabled", "", 1.0f, "On" },
    { "High", "dB", 0.5f, "0.0" },
    { "High Character", "", 0.0f, "Silk" },
    { "High Enabled", "", 1.0f, "On" },
    { "Dynamics", "%", 0.0f, "0.0" },
    { "Dynamics Character", "", 0.0f, "Glue" },
    { "Oversample", "", 0.0f, "Off" },
    { "Dynamics Enabled", "", 1.0f, "On" },
    { "Space A", "%", 0.0f, "0.0" },
    { "Space A Type", "", 0.0f, "Room" },
    { "Space A Pre-Delay", "ms", 0.0f, "0.0" },
    { "Space A Pre-Delay Sync", "", 0.0f, "Off" },
    { "Space A Enabled", "", 1.0f, "On" },
    { "Space B", "%", 0.0f, "0.0" },
    { "Space B Type", "", 0.0f, "Close" },
    { "Space B Pre-Delay", "ms", 0.0f, "0.0" },
    { "Space B Pre-Delay Sync", "", 0.0f, "Off" },
    { "Space B Enabled", "", 1.0f, "On" },
    { "Echo", "%", 0.0f, "0.0" },
    { "Echo Division", "", 0.0f, "Slap" },
    { "Echo Feedback", "%", 0.35f, "35.0" },
    { "Echo Enabled", "", 1.0f, "On" },
    { "Blend", "%", 1.0f, "100.0" },
    { "Output", "dB", 60.0f / 84.0f, "0.0" },
    { "Bypass", "", 0.0f, "Off" },
};
} // namespace

TEST_F (Vst3Fixture, DescribesItselfAsTheChannelStrip)
{
    ASSERT_NE (plugin, nullptr);
    const auto description = plugin->getPluginDescription();
    EXPECT_EQ (description.name, "VelbriLabs Lumbra");
    EXPECT_EQ (description.manufacturerName, "velbrilabs");
    EXPECT_EQ (description.version, releasedVersion());
    EXPECT_EQ (description.category, "Fx");
    EXPECT_FALSE (description.isInstrument);
    EXPECT_EQ (description.numOutputChannels, 2);
    EXPECT_EQ (plugin->getLatencySamples(), 0);
    EXPECT_NEAR (plugin->getTailLengthSeconds(), 4.0, 1.0e-9);
    EXPECT_FALSE (plugin->acceptsMidi());
    EXPECT_TRUE (plugin->hasEditor());
}

TEST_F (Vst3Fixture, ListsTwentyEightParametersPlusTheHostBypass)
{
    ASSERT_NE (plugin, nullptr);
    const auto& parameters = plugin->getParameters();
    ASSERT_EQ (parameters.size(), 29);

    for (int i = 0; i < 28; ++i)
    {
        const auto& expected = hostParameters[i];
        SCOPED_TRACE (expected.name);
        EXPECT_EQ (parameters[i]->getName (256), expected.name);
        EXPECT_EQ (parameters[i]->getLabel(), expected.unit);
        EXPECT_NEAR (parameters[i]->getDefaultValue(), expected.normalisedDefault, 1.0e-6f);
        EXPECT_NEAR (parameters[i]->getValue(), expected.normalisedDefault, 1.0e-6f);
        EXPECT_EQ (parameters[i]->getCurrentValueAsText(), expected.defaultText);
    }

    EXPECT_EQ (parameters[28]->getName (256), "Bypass");
}

TEST_F (Vst3Fixture, SnapsValuesToTheTenth)
{
    ASSERT_NE (plugin, nullptr);
    struct Case { const char* name; const char* typed; float normalised; const char* shown; };
    const Case cases[] = {
        { "Output", "-60.04", 0.0f, "-60.0" },
        { "Input", "24.06", 1.0f, "24.0" },
        { "Echo Feedback", "35.04", 0.35f, "35.0" },
        { "Input", "12 dB", 36.0f / 48.0f, "12.0" },
    };

    for (const auto& c : cases)
    {
        auto* parameter = parameterNamed (*plugin, c.name);
        const auto value = parameter->getValueForText (c.typed);
        EXPECT_NEAR (value, c.normalised, 1.0e-6f) << c.typed;
        parameter->setValueNotifyingHost (value);
        EXPECT_EQ (parameter->getCurrentValueAsText(), c.shown);
    }

    auto* lowCharacter = parameterNamed (*plugin, "Low Character");
    lowCharacter->setValueNotifyingHost (0.5f);
    EXPECT_EQ (lowCharacter->getCurrentValueAsText(), "Deep");
}

TEST_F (Vst3Fixture, BypassIsBitExactAndMonoIsDuplicated)
{
    ASSERT_NE (plugin, nullptr);
    parameterNamed (*plugin, "Bypass")->setValueNotifyingHost (1.0f);
    parameterNamed (*plugin, "Input")->setValueNotifyingHost (1.0f);

    auto audio = signals::noise (4096, 21, 0.5f);
    const auto input = audio;
    process (*plugin, audio, 512);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            ASSERT_EQ (audio.getSample (channel, i), input.getSample (channel, i));

    auto mono = load (48000.0, 512, true);
    ASSERT_NE (mono, nullptr);
    auto monoAudio = signals::noise (4096, 23, 0.5f);
    monoAudio.clear (1, 0, 4096);
    process (*mono, monoAudio, 512);
    EXPECT_GT (monoAudio.getMagnitude (1, 2000, 2000), 0.1f);
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ (monoAudio.getSample (1, i), monoAudio.getSample (0, i));
}

TEST_F (Vst3Fixture, DefaultsPassTheSignalAfterTheFadeAtAnyBlockLength)
{
    const auto input = signals::noise (70000, 25, 0.5f);
    for (const auto blockSize : { 1, 64, 65536 })
    {
        SCOPED_TRACE (blockSize);
        auto instance = load (44100.0, blockSize); // a host announces its largest block
        ASSERT_NE (instance, nullptr);
        auto audio = input;
        process (*instance, audio, blockSize);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 882; i < audio.getNumSamples(); i += 7)
                ASSERT_NEAR (audio.getSample (channel, i), input.getSample (channel, i), 1.0e-5f) << i;
    }
}
