#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
using Set = juce::AudioChannelSet;

juce::AudioProcessor::BusesLayout layoutOf (const Set& input, const Set& output)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (input);
    layout.outputBuses.add (output);
    return layout;
}
} // namespace

TEST (ProcessorShell, AcceptsStereoOrMonoIntoStereoOnly)
{
    struct Case { Set input, output; bool accepted; const char* what; };
    const Case cases[] = {
        { Set::stereo(), Set::stereo(), true, "stereo in, stereo out" },
        { Set::mono(), Set::stereo(), true, "mono in, stereo out" },
        { Set::stereo(), Set::mono(), false, "stereo in, mono out" },
        { Set::mono(), Set::mono(), false, "mono in, mono out" },
        { Set::disabled(), Set::stereo(), false, "disabled input" },
        { Set::stereo(), Set::disabled(), false, "disabled output" },
        { Set::create5point1(), Set::stereo(), false, "5.1 in" },
        { Set::stereo(), Set::create5point1(), false, "5.1 out" },
        { Set::quadraphonic(), Set::quadraphonic(), false, "quad both sides" },
    };

    VelbrinLumbraProcessor processor;
    for (const auto& c : cases)
        EXPECT_EQ (processor.checkBusesLayoutSupported (layoutOf (c.input, c.output)), c.accepted) << c.what;
}

TEST (ProcessorShell, ReportsItsIdentityAndCapabilities)
{
    VelbrinLumbraProcessor processor;
    EXPECT_EQ (processor.getName(), "VelbriLabs Lumbra");
    EXPECT_DOUBLE_EQ (processor.getTailLengthSeconds(), 4.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_EQ (processor.getBypassParameter(), nullptr);
    EXPECT_EQ (processor.getBusCount (true), 1);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
}

TEST (ProcessorShell, HasOneProgramNamedDefaultThatNothingChanges)
{
    VelbrinLumbraProcessor processor;
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    processor.setCurrentProgram (0);
    processor.changeProgramName (0, "Mine");
    EXPECT_EQ (processor.getProgramName (0), "Default");
}

TEST (ProcessorShell, StartsWithTempoAndMeterDefaults)
{
    VelbrinLumbraProcessor processor;
    EXPECT_FLOAT_EQ (processor.manualBpm.load(), 120.0f);
    EXPECT_TRUE (processor.hostSyncEnabled.load());
    EXPECT_FLOAT_EQ (processor.inputLevelDb.load(), -100.0f);
    EXPECT_FLOAT_EQ (processor.outputLevelDb.load(), -100.0f);
}

TEST (ProcessorShell, CreatesAnEditorOfTheDefaultSize)
{
    VelbrinLumbraProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 1180);
    EXPECT_EQ (editor->getHeight(), 560);
    EXPECT_TRUE (editor->isResizable());
}
