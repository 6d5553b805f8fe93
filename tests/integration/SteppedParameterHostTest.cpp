// A switch or a choice only ever takes one of its steps. Whatever normalised value a host sends, it
// must read back the step the parameter landed on, so that its view, the text it shows and a saved
// project all agree with the plug-in's.

#include "tests/support/HostedState.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
struct Landing
{
    float normalised; // the step's own normalised position
    float saved;      // the plain value the saved document holds: a choice's index, 0 or 1 for a switch
    const char* text;
};

struct SteppedParameter
{
    const char* name;
    const char* id;
    Landing at03, at07;
};

// Three-way choices sit at 0, 0.5 and 1: both 0.3 and 0.7 land on the middle entry.
const SteppedParameter steppedParameters[] = {
    { "Low Character", "lowMode", { 0.5f, 1.0f, "Deep" }, { 0.5f, 1.0f, "Deep" } },
    { "Low Enabled", "lowEnabled", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "High Character", "highMode", { 0.5f, 1.0f, "Sheen" }, { 0.5f, 1.0f, "Sheen" } },
    { "High Enabled", "highEnabled", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "Dynamics Character", "compMode", { 0.5f, 1.0f, "Snap" }, { 0.5f, 1.0f, "Snap" } },
    { "Oversample", "compOversample", { 0.5f, 1.0f, "2x" }, { 0.5f, 1.0f, "2x" } },
    { "Dynamics Enabled", "compEnabled", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "Space A Type", "spaceAType", { 0.5f, 1.0f, "Hall" }, { 0.5f, 1.0f, "Hall" } },
    { "Space A Pre-Delay Sync", "spaceAPreDelaySync", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "Space A Enabled", "spaceAEnabled", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "Space B Type", "spaceBType", { 0.5f, 1.0f, "Wide" }, { 0.5f, 1.0f, "Wide" } },
    { "Space B Pre-Delay Sync", "spaceBPreDelaySync", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "Space B Enabled", "spaceBEnabled", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "Echo Division", "echoDivision", { 0.5f, 1.0f, "8th" }, { 0.5f, 1.0f, "8th" } },
    { "Echo Enabled", "echoEnabled", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
    { "Bypass", "bypass", { 0.0f, 0.0f, "Off" }, { 1.0f, 1.0f, "On" } },
};

float savedValue (juce::AudioPluginInstance& instance, const juce::String& id)
{
    juce::MemoryBlock state;
    instance.getStateInformation (state);
    const auto document = hostedState::ownDocumentOf (state);
    auto* child = document != nullptr ? document->getChildByAttribute ("id", id) : nullptr;
    return child != nullptr ? static_cast<float> (child->getDoubleAttribute ("value")) : NAN;
}

void restore (juce::AudioPluginInstance& instance, const juce::MemoryBlock& state)
{
    instance.setStateInformation (state.getData(), static_cast<int> (state.getSize()));
}

bool isStepped (const juce::AudioProcessorParameter& parameter) { return parameter.isDiscrete(); }
} // namespace

TEST_F (Vst3Fixture, SwitchesAndChoicesReportTheStepTheyLandedOn)
{
    ASSERT_NE (plugin, nullptr);
    for (const auto& stepped : steppedParameters)
    {
        auto* parameter = parameterNamed (*plugin, stepped.name);
        ASSERT_NE (parameter, nullptr) << stepped.name;
        for (const auto& [sent, landing] : { std::pair { 0.3f, stepped.at03 }, { 0.7f, stepped.at07 } })
        {
            SCOPED_TRACE (juce::String (stepped.name) + " sent " + juce::String (sent));
            parameter->setValueNotifyingHost (sent);
            EXPECT_EQ (parameter->getValue(), landing.normalised);
            EXPECT_EQ (parameter->getCurrentValueAsText(), landing.text);
            EXPECT_EQ (parameter->getText (sent, 64), landing.text);
            EXPECT_EQ (savedValue (*plugin, stepped.id), landing.saved);
        }
    }
}

TEST_F (Vst3Fixture, TheHostsBypassLandsOnOffOrOnAndStillBypasses)
{
    ASSERT_NE (plugin, nullptr);
    auto* hostBypass = plugin->getBypassParameter();
    ASSERT_EQ (hostBypass, plugin->getParameters()[28]);
    parameterNamed (*plugin, "Input")->setValueNotifyingHost (1.0f);
    const auto input = signals::noise (4096, 31, 0.25f);

    hostBypass->setValueNotifyingHost (0.3f);
    EXPECT_EQ (hostBypass->getValue(), 0.0f);
    EXPECT_EQ (hostBypass->getCurrentValueAsText(), "Off");
    auto processed = input;
    process (*plugin, processed, 512);
    EXPECT_GT (processed.getMagnitude (0, 2048, 2048), 2.0f * input.getMagnitude (0, 2048, 2048));

    hostBypass->setValueNotifyingHost (0.7f);
    EXPECT_EQ (hostBypass->getValue(), 1.0f);
    EXPECT_EQ (hostBypass->getCurrentValueAsText(), "On");
    // The host's switch crosses over as the strip's own bypass does (20 ms), then passes the input.
    auto bypassed = input;
    process (*plugin, bypassed, 512);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 1024; i < bypassed.getNumSamples(); ++i)
            ASSERT_EQ (bypassed.getSample (channel, i), input.getSample (channel, i));
}

TEST_F (Vst3Fixture, ContinuousParametersKeepTheExactValueTheHostSent)
{
    ASSERT_NE (plugin, nullptr);
    std::vector<std::pair<juce::AudioProcessorParameter*, float>> sent;
    for (auto* parameter : plugin->getParameters())
        if (! isStepped (*parameter))
            sent.emplace_back (parameter, 0.123457f + 0.031f * static_cast<float> (sent.size()));
    ASSERT_EQ (sent.size(), 12u);

    for (const auto& [parameter, value] : sent)
        parameter->setValueNotifyingHost (value);
    // A switch landing on a step makes the host read every value back from the module.
    parameterNamed (*plugin, "Echo Enabled")->setValueNotifyingHost (0.3f);

    for (const auto& [parameter, value] : sent)
        EXPECT_EQ (parameter->getValue(), value) << parameter->getName (64);
}

// What a strict validator does: random values everywhere, a saved state, then for each parameter
// another random value and a restore, which must bring back what the host saw before.
class RandomisedStateRoundTrip : public Vst3Fixture, public ::testing::WithParamInterface<int>
{
};

TEST_P (RandomisedStateRoundTrip, RestoresEveryValueTheHostSaw)
{
    ASSERT_NE (plugin, nullptr);
    juce::Random random (GetParam());
    std::vector<juce::AudioProcessorParameter*> parameters;
    for (auto* parameter : plugin->getParameters())
        if (parameter != plugin->getBypassParameter())
            parameters.push_back (parameter);
    ASSERT_EQ (parameters.size(), 28u);

    for (auto* parameter : parameters)
        parameter->setValue (random.nextFloat());

    juce::MemoryBlock state;
    plugin->getStateInformation (state);

    for (auto* parameter : parameters)
    {
        const auto seen = parameter->getValue();
        parameter->setValue (random.nextFloat());
        restore (*plugin, state);
        EXPECT_NEAR (parameter->getValue(), seen, 0.1f) << parameter->getName (64) << " not restored";
    }
}

INSTANTIATE_TEST_SUITE_P (TenSeeds, RandomisedStateRoundTrip, ::testing::Range (1, 11));
