// The command-line host, run as a user runs it.

#include "tests/support/RenderTool.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
class RenderTool : public ::testing::Test
{
protected:
    juce::TemporaryFile input { ".wav" }, output { ".wav" }, state { ".state" };

    void SetUp() override
    {
        ASSERT_EQ (runRenderTool ({ "generate", "--out", input.getFile().getFullPathName(), "--seconds", "0.5",
                                    "--rate", "44100" })
                       .exitCode,
                   0);
    }
};
} // namespace

TEST_F (RenderTool, RendersAFileThroughTheModuleWithParametersInNaturalUnits)
{
    const auto run = runRenderTool ({ "render", "--in", input.getFile().getFullPathName(), "--out",
                                      output.getFile().getFullPathName(), "--set", "inputTrim=-6", "--set",
                                      "Low Enabled=off", "--block", "100" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto dry = readWavFile (input.getFile());
    const auto wet = readWavFile (output.getFile());
    ASSERT_EQ (wet.getNumChannels(), 2);
    ASSERT_EQ (wet.getNumSamples(), dry.getNumSamples());

    // -6 dB after the 20 ms fade (882 samples at 44.1 kHz), within 24-bit rounding.
    const auto halfGain = juce::Decibels::decibelsToGain (-6.0f);
    for (int i = 882; i < wet.getNumSamples(); i += 3)
        ASSERT_NEAR (wet.getSample (1, i), halfGain * dry.getSample (1, i), 2.0e-4f) << i;
}

TEST_F (RenderTool, SavesAndRestoresTheStateThroughTheModule)
{
    ASSERT_EQ (runRenderTool ({ "save-state", "--out", state.getFile().getFullPathName(), "--set",
                                "echoDivision=Quarter", "--set", "outputTrim=-12.5" })
                   .exitCode,
               0);

    juce::String error;
    auto instance = loadVst3Plugin (builtBundle(), 44100.0, 512, error);
    ASSERT_NE (instance, nullptr) << error;
    juce::MemoryBlock saved;
    ASSERT_TRUE (state.getFile().loadFileAsData (saved));
    instance->setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));

    EXPECT_EQ (instance->getParameters()[22]->getCurrentValueAsText(), "Quarter");
    EXPECT_EQ (instance->getParameters()[26]->getCurrentValueAsText(), "-12.5");
}

TEST_F (RenderTool, BadArgumentsGiveOneLineAndAFailingExitCode)
{
    const auto in = input.getFile().getFullPathName();
    const auto out = output.getFile().getFullPathName();
    const juce::StringArray cases[] = {
        { "render", "--in", "/no/such/file.wav", "--out", out },
        { "render", "--in", in, "--out", out, "--set", "noSuchParameter=1" },
        { "render", "--in", in, "--out", out, "--set", "inputTrim=99" },
        { "render", "--in", in, "--out", out, "--set", "lowMode=Sparkle" },
        { "render", "--in", in, "--out", out, "--set", "inputTrim" },
        { "render", "--in", in, "--out", out, "--block", "0" },
        { "render", "--in", in, "--out", out, "--rate", "fast" },
        { "render", "--in", in },
        { "render", "--in", in, "--out", out, "--plugin", "/no/such.vst3" },
        { "render", "--in", state.getFile().getFullPathName(), "--out", out },
        { "render", "--in", in, "--out", out, "--load-state", "/no/such.state" },
        { "frobnicate" },
        { "render", "--in", in, "--out", out, "--wat" },
    };

    ASSERT_TRUE (state.getFile().replaceWithText ("not audio"));

    for (const auto& words : cases)
    {
        const auto run = runRenderTool (words);
        SCOPED_TRACE (words.joinIntoString (" "));
        EXPECT_NE (run.exitCode, 0);
        EXPECT_NE (run.exitCode, -1);
        EXPECT_TRUE (run.output.startsWith ("lumbra-render: error: ")) << run.output;
        EXPECT_EQ (juce::StringArray::fromLines (run.output.trim()).size(), 1) << run.output;
    }
}
