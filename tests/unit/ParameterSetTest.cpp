#include "plugin/ParamIDs.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
struct ExpectedParameter
{
    const char* id;
    const char* name;
    const char* kind; // "float", "choice" or "switch"
    float minimum, maximum, defaultValue;
    const char* unit;
    const char* choices;
};

// Part of the contract with every saved project and automation lane: ids, names, ranges, order.
const ExpectedParameter expectedParameters[] = {
    { "inputTrim", "Input", "float", -24, 24, 0, "dB", "" },
    { "lowGain", "Low", "float", -12, 12, 0, "dB", "" },
    { "lowMode", "Low Character", "choice", 0, 2, 0, "", "Warm,Deep,Air-Cut" },
    { "lowEnabled", "Low Enabled", "switch", 0, 1, 1, "", "" },
    { "highGain", "High", "float", -12, 12, 0, "dB", "" },
    { "highMode", "High Character", "choice", 0, 2, 0, "", "Silk,Sheen,Crisp" },
    { "highEnabled", "High Enabled", "switch", 0, 1, 1, "", "" },
    { "compAmount", "Dynamics", "float", 0, 100, 0, "%", "" },
    { "compMode", "Dynamics Character", "choice", 0, 2, 0, "", "Glue,Snap,Squash" },
    { "compOversample", "Oversample", "choice", 0, 2, 0, "", "Off,2x,4x" },
    { "compEnabled", "Dynamics Enabled", "switch", 0, 1, 1, "", "" },
    { "spaceAMix", "Space A", "float", 0, 100, 0, "%", "" },
    { "spaceAType", "Space A Type", "choice", 0, 2, 0, "", "Room,Hall,Cathedral" },
    { "spaceAPreDelay", "Space A Pre-Delay", "float", 0, 500, 0, "ms", "" },
    { "spaceAPreDelaySync", "Space A Pre-Delay Sync", "switch", 0, 1, 0, "", "" },
    { "spaceAEnabled", "Space A Enabled", "switch", 0, 1, 1, "", "" },
    { "spaceBMix", "Space B", "float", 0, 100, 0, "%", "" },
    { "spaceBType", "Space B Type", "choice", 0, 2, 0, "", "Close,Wide,Vast" },
    { "spaceBPreDelay", "Space B Pre-Delay", "float", 0, 500, 0, "ms", "" },
    { "spaceBPreDelaySync", "Space B Pre-Delay Sync", "switch", 0, 1, 0, "", "" },
    { "spaceBEnabled", "Space B Enabled", "switch", 0, 1, 1, "", "" },
    { "echoMix", "Echo", "float", 0, 100, 0, "%", "" },
    { "echoDivision", "Echo Division", "choice", 0, 2, 0, "", "Slap,8th,Quarter" },
    { "echoFeedback", "Echo Feedback", "float", 0, 100, 35, "%", "" },
    { "echoEnabled", "Echo Enabled", "switch", 0, 1, 1, "", "" },
    { "blend", "Blend", "float", 0, 100, 100, "%", "" },
    { "outputTrim", "Output", "float", -60, 24, 0, "dB", "" },
    { "bypass", "Bypass", "switch", 0, 1, 0, "", "" },
};
} // namespace

TEST (ParameterSet, ListsTheTwentyEightParametersInOrderWithTheirRangesDefaultsAndUnits)
{
    VelbrinLumbraProcessor processor;
    const auto& parameters = processor.getParameters();
    ASSERT_EQ (parameters.size(), 28);

    for (int i = 0; i < 28; ++i)
    {
        const auto& expected = expectedParameters[i];
        SCOPED_TRACE (expected.id);
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (parameters[i]);
        ASSERT_NE (parameter, nullptr);

        EXPECT_EQ (parameter->getParameterID(), expected.id);
        EXPECT_EQ (parameter->getName (100), expected.name);
        EXPECT_EQ (parameter->getLabel(), expected.unit);
        EXPECT_EQ (parameter->getVersionHint(), 1);
        EXPECT_TRUE (parameter->isAutomatable());
        EXPECT_FALSE (parameter->isMetaParameter());

        const auto& range = parameter->getNormalisableRange();
        EXPECT_FLOAT_EQ (range.start, expected.minimum);
        EXPECT_FLOAT_EQ (range.end, expected.maximum);
        EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue (expected.id)->load(), expected.defaultValue);

        const juce::String kind (expected.kind);
        if (kind == "float")
        {
            EXPECT_NE (dynamic_cast<juce::AudioParameterFloat*> (parameter), nullptr);
            EXPECT_FLOAT_EQ (range.interval, 0.1f);
            EXPECT_FLOAT_EQ (range.skew, 1.0f);
        }
        else if (kind == "choice")
        {
            auto* choice = dynamic_cast<juce::AudioParameterChoice*> (parameter);
            ASSERT_NE (choice, nullptr);
            EXPECT_EQ (choice->choices.joinIntoString (","), expected.choices);
        }
        else
        {
            EXPECT_NE (dynamic_cast<juce::AudioParameterBool*> (parameter), nullptr);
        }
    }
}

TEST (ParameterSet, NormalisedDefaultsAreThoseAHostSees)
{
    VelbrinLumbraProcessor processor;
    auto normalisedDefault = [&] (const juce::String& id) { return processor.parameters.getParameter (id)->getDefaultValue(); };

    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::inputTrim), 0.5f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::lowGain), 0.5f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::outputTrim), 60.0f / 84.0f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::echoFeedback), 0.35f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::blend), 1.0f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::spaceAPreDelay), 0.0f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::lowMode), 0.0f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::lowEnabled), 1.0f);
    EXPECT_FLOAT_EQ (normalisedDefault (ParamIDs::bypass), 0.0f);
}

TEST (ParameterSet, ValuesSnapToTheTenthAndStayInRange)
{
    struct Case { const juce::String& id; float set; float stored; };
    const Case cases[] = {
        { ParamIDs::outputTrim, -60.04f, -60.0f },
        { ParamIDs::inputTrim, 24.06f, 24.0f },
        { ParamIDs::echoFeedback, 35.04f, 35.0f },
        { ParamIDs::inputTrim, -3.46f, -3.5f },
        { ParamIDs::spaceAPreDelay, 900.0f, 500.0f },
    };

    ProcessorHarness harness;
    for (const auto& c : cases)
    {
        harness.set (c.id, c.set);
        EXPECT_NEAR (harness.get (c.id), c.stored, 1.0e-4f) << c.id;
    }
}

TEST (ParameterSet, TextsFollowTheFrameworkDefaults)
{
    VelbrinLumbraProcessor processor;
    auto* trim = processor.parameters.getParameter (ParamIDs::inputTrim);
    EXPECT_EQ (trim->getText (trim->convertTo0to1 (-3.5f), 100), "-3.5");
    EXPECT_NEAR (trim->convertFrom0to1 (trim->getValueForText ("12 dB")), 12.0f, 1.0e-4f);

    auto* lowMode = processor.parameters.getParameter (ParamIDs::lowMode);
    EXPECT_EQ (lowMode->getCurrentValueAsText(), "Warm");
    EXPECT_EQ (lowMode->getText (1.0f, 100), "Air-Cut");

    auto* bypass = processor.parameters.getParameter (ParamIDs::bypass);
    EXPECT_EQ (bypass->getCurrentValueAsText(), "Off");
    EXPECT_FLOAT_EQ (bypass->getValueForText ("yes"), 1.0f);
}
