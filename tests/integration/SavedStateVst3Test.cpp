#include "plugin/PluginProcessor.h"
#include "tests/support/HostedState.h"
#include "tests/support/RenderTool.h"
#include "tests/support/Vst3Fixture.h"

#include <cstring>

namespace
{
// Every parameter away from its default, in natural units, in the host's order.
const float movedValues[28] = { 3.5f, -4.2f, 2.0f, 0.0f, 7.1f, 1.0f, 0.0f, 42.3f, 2.0f, 1.0f,
                                0.0f, 12.5f, 2.0f, 123.4f, 1.0f, 0.0f, 66.6f, 1.0f, 321.0f, 1.0f,
                                0.0f, 55.5f, 2.0f, 77.7f, 0.0f, 43.2f, -33.3f, 1.0f };

juce::RangedAudioParameter& ownParameter (VelbrinLumbraProcessor& processor, int index)
{
    return *dynamic_cast<juce::RangedAudioParameter*> (processor.getParameters()[index]);
}

void tap473MsApartAndUnsync (VelbrinLumbraProcessor& processor)
{
    double now = 1.0e6;
    processor.tapClockMs = [&now] { return now; };
    processor.registerTap();
    now += 473.0;
    processor.registerTap();
    processor.hostSyncEnabled = false;
}

juce::MemoryBlock ownStateOf (VelbrinLumbraProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

// Our processor, in this process, with every setting moved, sync off and a tapped tempo of
// 60000 / 473 BPM: its block is what the tests hand to the module inside a host's state.
juce::MemoryBlock movedOwnBlock()
{
    VelbrinLumbraProcessor processor;
    for (int i = 0; i < 28; ++i)
        ownParameter (processor, i).setValueNotifyingHost (ownParameter (processor, i).convertTo0to1 (movedValues[i]));
    tap473MsApartAndUnsync (processor);
    return ownStateOf (processor);
}

juce::MemoryBlock fileContents (const juce::File& file)
{
    juce::MemoryBlock contents;
    file.loadFileAsData (contents);
    return contents;
}

float tappedTempo() { return static_cast<float> (60000.0 / 473.0); }

float savedTempo (const juce::XmlElement& document)
{
    return static_cast<float> (document.getDoubleAttribute ("manualBpm"));
}

bool sameBits (float a, float b) { return std::memcmp (&a, &b, sizeof (float)) == 0; }

juce::MemoryBlock stateOf (juce::AudioPluginInstance& instance)
{
    juce::MemoryBlock state;
    instance.getStateInformation (state);
    return state;
}

void restore (juce::AudioPluginInstance& instance, const juce::MemoryBlock& state)
{
    instance.setStateInformation (state.getData(), static_cast<int> (state.getSize()));
}

float savedValue (const juce::XmlElement& document, const juce::String& id)
{
    auto* child = document.getChildByAttribute ("id", id);
    return child != nullptr ? static_cast<float> (child->getDoubleAttribute ("value")) : NAN;
}
} // namespace

TEST_F (Vst3Fixture, StateHoldsOurDocumentFollowedByTheWrappersPrivateData)
{
    ASSERT_NE (plugin, nullptr);
    const auto component = hostedState::componentStateOf (stateOf (*plugin));
    const auto ownSize = hostedState::ownBlockSize (component);

    ASSERT_GT (ownSize, 9u);
    EXPECT_LT (ownSize, component.getSize());
    EXPECT_EQ (static_cast<const char*> (component.getData())[ownSize - 1], 0);
    EXPECT_TRUE (juce::String::fromUTF8 (static_cast<const char*> (component.getData()) + component.getSize() - 15, 15)
                 == "JUCEPrivateData");

    const auto document = hostedState::ownDocumentOf (stateOf (*plugin));
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (document->getTagName(), "PARAMETERS");
    EXPECT_EQ (document->getStringAttribute ("manualBpm"), "120.0");
    EXPECT_EQ (document->getStringAttribute ("hostSyncEnabled"), "1");
    EXPECT_EQ (document->getNumChildElements(), 28);
}

TEST_F (Vst3Fixture, ValuesSetByTheHostRoundTripIntoAnotherInstance)
{
    ASSERT_NE (plugin, nullptr);
    VelbrinLumbraProcessor reference;
    for (int i = 0; i < 28; ++i)
        plugin->getParameters()[i]->setValueNotifyingHost (ownParameter (reference, i).convertTo0to1 (movedValues[i]));

    const auto state = stateOf (*plugin);
    const auto document = hostedState::ownDocumentOf (state);
    ASSERT_NE (document, nullptr);
    EXPECT_NEAR (savedValue (*document, "echoFeedback"), 77.7f, 1.0e-4f);
    EXPECT_NEAR (savedValue (*document, "outputTrim"), -33.3f, 1.0e-4f);
    EXPECT_EQ (savedValue (*document, "echoDivision"), 2.0f);

    auto other = load (44100.0, 256);
    ASSERT_NE (other, nullptr);
    restore (*other, state);
    for (int i = 0; i < 29; ++i)
        EXPECT_EQ (other->getParameters()[i]->getValue(), plugin->getParameters()[i]->getValue())
            << other->getParameters()[i]->getName (64);
}

TEST_F (Vst3Fixture, TempoSettingsSurviveTheModuleBitForBit)
{
    ASSERT_NE (plugin, nullptr);
    restore (*plugin, hostedState::withOwnBlock (stateOf (*plugin), movedOwnBlock()));

    VelbrinLumbraProcessor reference;
    for (int i = 0; i < 28; ++i)
        EXPECT_NEAR (plugin->getParameters()[i]->getValue(), ownParameter (reference, i).convertTo0to1 (movedValues[i]),
                     1.0e-6f)
            << i;

    auto other = load (48000.0, 512);
    ASSERT_NE (other, nullptr);
    restore (*other, stateOf (*plugin));
    const auto document = hostedState::ownDocumentOf (stateOf (*other));
    ASSERT_NE (document, nullptr);
    EXPECT_TRUE (sameBits (savedTempo (*document), tappedTempo())) << document->getStringAttribute ("manualBpm");
    EXPECT_EQ (document->getStringAttribute ("hostSyncEnabled"), "0");
    EXPECT_NEAR (savedValue (*document, "spaceBPreDelay"), 321.0f, 1.0e-4f);
}

TEST_F (Vst3Fixture, AnUnreadableDocumentInsideTheModulesStateChangesNothing)
{
    ASSERT_NE (plugin, nullptr);
    restore (*plugin, hostedState::withOwnBlock (stateOf (*plugin), movedOwnBlock()));
    const auto before = stateOf (*plugin);

    const juce::String text ("<?xml version=\"1.0\"?><!DOCTYPE PARAMETERS [<!ENTITY a \"&xa;\">]>"
                             "<PARAMETERS manualBpm=\"61.0\">&a;</PARAMETERS>");
    juce::MemoryOutputStream block;
    block.write ("VC2!", 4);
    block.writeInt (static_cast<int> (text.getNumBytesAsUTF8()));
    block << text;
    block.writeByte (0);

    restore (*plugin, hostedState::withOwnBlock (before, block.getMemoryBlock()));
    EXPECT_EQ (hostedState::ownBlockOf (stateOf (*plugin)), hostedState::ownBlockOf (before));
}

TEST (RenderToolState, SavedAndLoadedStatesKeepEverySettingAndTheTempo)
{
    juce::TemporaryFile firstState (".state"), secondState (".state"), input (".wav"), output (".wav");
    auto run = runRenderTool ({ "save-state", "--out", firstState.getFile().getFullPathName(), "--set", "echoMix=50",
                                "--set", "echoDivision=Quarter", "--set", "outputTrim=-6.5" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto saved = fileContents (firstState.getFile());
    auto document = hostedState::ownDocumentOf (saved);
    ASSERT_NE (document, nullptr);
    EXPECT_EQ (savedValue (*document, "echoMix"), 50.0f);
    EXPECT_EQ (savedValue (*document, "echoDivision"), 2.0f);
    EXPECT_EQ (savedValue (*document, "outputTrim"), -6.5f);
    EXPECT_EQ (document->getStringAttribute ("manualBpm"), "120.0");

    // The same settings with a tapped tempo and sync off, as a project would carry them.
    VelbrinLumbraProcessor carrier;
    const auto own = hostedState::ownBlockOf (saved);
    carrier.setStateInformation (own.getData(), static_cast<int> (own.getSize()));
    tap473MsApartAndUnsync (carrier);
    const auto carried = hostedState::withOwnBlock (saved, ownStateOf (carrier));
    ASSERT_TRUE (firstState.getFile().replaceWithData (carried.getData(), carried.getSize()));

    juce::AudioBuffer<float> silence (2, 4800);
    silence.clear();
    ASSERT_TRUE (writeWavFile (input.getFile(), silence, 48000.0));
    run = runRenderTool ({ "render", "--in", input.getFile().getFullPathName(), "--out", output.getFile().getFullPathName(),
                           "--load-state", firstState.getFile().getFullPathName(), "--save-state",
                           secondState.getFile().getFullPathName(), "--set", "blend=40" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    document = hostedState::ownDocumentOf (fileContents (secondState.getFile()));
    ASSERT_NE (document, nullptr);
    EXPECT_TRUE (sameBits (savedTempo (*document), tappedTempo())) << document->getStringAttribute ("manualBpm");
    EXPECT_EQ (document->getStringAttribute ("hostSyncEnabled"), "0");
    EXPECT_EQ (savedValue (*document, "echoMix"), 50.0f);
    EXPECT_EQ (savedValue (*document, "echoDivision"), 2.0f);
    EXPECT_EQ (savedValue (*document, "outputTrim"), -6.5f);
    EXPECT_EQ (savedValue (*document, "blend"), 40.0f);
}
