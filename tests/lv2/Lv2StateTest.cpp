// Saved state through the LV2 state interface, as JUCE's LV2 hosting (lilv) keeps it.

#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"
#include "tests/support/FormatHosts.h"
#include "tests/support/Lv2State.h"
#include "tests/support/ProcessorHarness.h"

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;

std::vector<float> valuesOf (juce::AudioPluginInstance& instance)
{
    std::vector<float> values;
    for (int index = 0; index < 28; ++index)
        values.push_back (instance.getParameters()[index]->getValue());
    return values;
}

class Lv2State : public ::testing::Test
{
protected:
    // Every parameter away from its default, as a user would leave them.
    void moveEveryParameter (juce::AudioPluginInstance& instance)
    {
        for (auto* parameter : reference.getParameters())
        {
            const auto& own = dynamic_cast<const juce::RangedAudioParameter&> (*parameter);
            const auto steps = own.getNumSteps();
            const auto target = own.isDiscrete() ? 1.0f - own.getDefaultValue()
                                                 : std::fmod (own.getDefaultValue() + 0.37f, 1.0f);
            const auto snapped = own.isDiscrete() && steps > 2 ? std::round (target * (steps - 1)) / (steps - 1) : target;
            instance.getParameters()[own.getParameterIndex()]->setValueNotifyingHost (own.convertTo0to1 (own.convertFrom0to1 (snapped)));
        }
    }

    // A short block lets the LV2 plug-in take the ports' values (it reads them only while running).
    static void runOneBlock (juce::AudioPluginInstance& instance)
    {
        juce::AudioBuffer<float> silence (2, blockSize);
        silence.clear();
        processInBlocks (instance, silence, blockSize);
    }

    static juce::AudioBuffer<float> render (juce::AudioPluginInstance& instance)
    {
        auto audio = signals::noise (static_cast<int> (sampleRate), 3, 0.3f);
        processInBlocks (instance, audio, blockSize);
        return audio;
    }

    static float largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        float largest = 0.0f;
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < a.getNumSamples(); ++i)
                largest = std::max (largest, std::abs (a.getSample (channel, i) - b.getSample (channel, i)));
        return largest;
    }

    VelbrinLumbraProcessor reference;
};
} // namespace

TEST_F (Lv2State, CarriesTheSameDocumentAsTheVst3State)
{
    auto instance = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
    ASSERT_NE (instance, nullptr);
    moveEveryParameter (*instance);
    runOneBlock (*instance);

    juce::MemoryBlock hosted;
    instance->getStateInformation (hosted);
    const auto document = lv2State::ownDocumentOf (hosted);
    ASSERT_NE (document, nullptr) << lv2State::textOf (hosted);

    EXPECT_EQ (document->getTagName(), "PARAMETERS");
    EXPECT_EQ (document->getStringAttribute ("manualBpm"), "120.0");
    EXPECT_EQ (document->getStringAttribute ("hostSyncEnabled"), "1");
    EXPECT_EQ (document->getNumChildElements(), 28);

    // Each PARAM holds the value the host set, in natural units.
    for (auto* parameter : reference.getParameters())
    {
        const auto& own = dynamic_cast<const juce::RangedAudioParameter&> (*parameter);
        auto* child = document->getChildByAttribute ("id", own.getParameterID());
        ASSERT_NE (child, nullptr) << own.getParameterID();
        EXPECT_NEAR (child->getDoubleAttribute ("value"),
                     own.convertFrom0to1 (instance->getParameters()[own.getParameterIndex()]->getValue()), 1.0e-4)
            << own.getParameterID();
    }
}

TEST_F (Lv2State, RestoresEverySettingAndTheTempo)
{
    auto source = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
    ASSERT_NE (source, nullptr);
    moveEveryParameter (*source);
    runOneBlock (*source);

    juce::MemoryBlock hosted;
    source->getStateInformation (hosted);

    // A tapped tempo and host sync off, as the editor would leave them.
    auto document = lv2State::ownDocumentOf (hosted);
    ASSERT_NE (document, nullptr);
    document->setAttribute ("manualBpm", 60000.0 / 473.0);
    document->setAttribute ("hostSyncEnabled", 0);
    juce::MemoryBlock own;
    juce::AudioProcessor::copyXmlToBinary (*document, own);
    hosted = lv2State::withOwnBlock (hosted, own);

    auto restored = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
    ASSERT_NE (restored, nullptr);
    restored->setStateInformation (hosted.getData(), static_cast<int> (hosted.getSize()));

    // The host's view (its control ports) and the plug-in's own document both hold every setting.
    const auto expected = valuesOf (*source);
    const auto seen = valuesOf (*restored);
    for (size_t index = 0; index < expected.size(); ++index)
        EXPECT_NEAR (seen[index], expected[index], 1.0e-6f) << reference.getParameters()[(int) index]->getName (64);

    runOneBlock (*restored);
    juce::MemoryBlock again;
    restored->getStateInformation (again);
    const auto resaved = lv2State::ownDocumentOf (again);
    ASSERT_NE (resaved, nullptr);
    EXPECT_EQ (static_cast<float> (resaved->getDoubleAttribute ("manualBpm")), static_cast<float> (60000.0 / 473.0));
    EXPECT_EQ (resaved->getStringAttribute ("hostSyncEnabled"), "0");
    for (auto* child : resaved->getChildIterator())
        EXPECT_EQ (child->getStringAttribute ("value"),
                   document->getChildByAttribute ("id", child->getStringAttribute ("id"))->getStringAttribute ("value"))
            << child->getStringAttribute ("id");

    // And it sounds like the source with those settings.
    auto sourceWithTempo = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
    sourceWithTempo->setStateInformation (hosted.getData(), static_cast<int> (hosted.getSize()));
    EXPECT_EQ (largestDifference (render (*sourceWithTempo), render (*restored)), 0.0f);
}

// A host that keeps only the plug-in's own state (no port values) hands back the document alone:
// the plug-in sounds as saved, and its ports, untouched by the host, do not undo the restore.
TEST_F (Lv2State, TheDocumentAloneRestoresTheSound)
{
    auto source = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
    ASSERT_NE (source, nullptr);
    setNatural (*source, *reference.parameters.getParameter (ParamIDs::spaceBMix), 42.0f);
    setNatural (*source, *reference.parameters.getParameter (ParamIDs::echoMix), 30.0f);
    runOneBlock (*source);
    juce::MemoryBlock hosted;
    source->getStateInformation (hosted);
    const auto documentOnly = lv2State::withoutPortValues (hosted);
    ASSERT_LT (documentOnly.getSize(), hosted.getSize()) << lv2State::textOf (hosted);

    auto restored = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
    restored->setStateInformation (documentOnly.getData(), static_cast<int> (documentOnly.getSize()));
    const auto heard = render (*restored);

    auto expected = loadPrepared (builtVst3Bundle(), sampleRate, blockSize);
    setNatural (*expected, *reference.parameters.getParameter (ParamIDs::spaceBMix), 42.0f);
    setNatural (*expected, *reference.parameters.getParameter (ParamIDs::echoMix), 30.0f);
    EXPECT_EQ (largestDifference (render (*expected), heard), 0.0f);

    juce::MemoryBlock resaved;
    restored->getStateInformation (resaved);
    const auto document = lv2State::ownDocumentOf (resaved);
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getChildByAttribute ("id", ParamIDs::spaceBMix)->getDoubleAttribute ("value"), 42.0);

    // The host's own port was never told: LV2 lets only the host move an input port.
    EXPECT_EQ (lv2State::portValueOf (resaved, ParamIDs::spaceBMix), 0.0f);
}

// A host moves a stepped parameter's port between steps: the plug-in lands on a step.
TEST_F (Lv2State, SteppedPortsLandOnAStep)
{
    auto instance = loadPrepared (builtLv2Bundle(), sampleRate, blockSize);
    ASSERT_NE (instance, nullptr);
    auto* division = instance->getParameters()[reference.parameters.getParameter (ParamIDs::echoDivision)->getParameterIndex()];
    auto* lowEnabled = instance->getParameters()[reference.parameters.getParameter (ParamIDs::lowEnabled)->getParameterIndex()];
    division->setValueNotifyingHost (0.8f);   // index 1.6 on the port
    lowEnabled->setValueNotifyingHost (0.3f); // above zero: on, by LV2's toggle rule
    runOneBlock (*instance);

    juce::MemoryBlock hosted;
    instance->getStateInformation (hosted);
    const auto document = lv2State::ownDocumentOf (hosted);
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getChildByAttribute ("id", ParamIDs::echoDivision)->getStringAttribute ("value"), "2.0");
    EXPECT_EQ (document->getChildByAttribute ("id", ParamIDs::lowEnabled)->getStringAttribute ("value"), "1.0");
}
