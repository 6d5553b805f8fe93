// The command-line host driving the .lv2 bundle: every command works through either format.

#include "tests/support/FormatHosts.h"
#include "tests/support/RenderTool.h"

namespace
{
class RenderToolLv2 : public ::testing::Test
{
protected:
    juce::TemporaryFile input { ".wav" }, viaLv2 { ".wav" }, viaVst3 { ".wav" }, state { ".state" };
    const juce::String lv2 = builtLv2Bundle().getFullPathName();
    const juce::String vst3 = builtVst3Bundle().getFullPathName();

    void SetUp() override
    {
        ASSERT_EQ (runRenderTool ({ "generate", "--out", input.getFile().getFullPathName(), "--seconds", "1", "--mono" })
                       .exitCode,
                   0);
    }
};
} // namespace

TEST_F (RenderToolLv2, InfoDescribesTheLv2Plugin)
{
    const auto run = runRenderTool ({ "info", "--plugin", lv2 });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("name: VelbriLabs Lumbra")) << run.output;
    EXPECT_TRUE (run.output.contains ("format: LV2")) << run.output;
    EXPECT_TRUE (run.output.contains ("latency: 0 samples")) << run.output;
    EXPECT_TRUE (run.output.contains ("| Space A Type |")) << run.output;
}

// The same command through both bundles writes the same file (a mono source, by name and index).
TEST_F (RenderToolLv2, RendersTheSameFileAsTheVst3Module)
{
    for (const auto& [bundle, output] : { std::pair { lv2, viaLv2.getFile() }, { vst3, viaVst3.getFile() } })
    {
        const auto run = runRenderTool ({ "render", "--plugin", bundle, "--in", input.getFile().getFullPathName(), "--out",
                                          output.getFullPathName(), "--set", "Space A=40", "--set", "spaceAType=Hall",
                                          "--set", "echoMix=25", "--set", "echoDivision=1", "--set", "lowEnabled=off",
                                          "--block", "128" });
        ASSERT_EQ (run.exitCode, 0) << run.output;
    }

    const auto a = readWavFile (viaLv2.getFile());
    const auto b = readWavFile (viaVst3.getFile());
    ASSERT_EQ (a.getNumChannels(), 2);
    ASSERT_EQ (a.getNumSamples(), b.getNumSamples());
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
            ASSERT_EQ (a.getSample (channel, i), b.getSample (channel, i)) << channel << ", " << i;
    EXPECT_GT (a.getMagnitude (1, 0, a.getNumSamples()), 0.1f) << "the mono source reaches both outputs";
}

TEST_F (RenderToolLv2, SavesAndRestoresTheStateThroughTheBundle)
{
    ASSERT_EQ (runRenderTool ({ "save-state", "--plugin", lv2, "--out", state.getFile().getFullPathName(), "--set",
                                "echoDivision=Quarter", "--set", "outputTrim=-12.5" })
                   .exitCode,
               0);

    juce::String error;
    auto instance = loadPlugin (builtLv2Bundle(), 44100.0, 512, error);
    ASSERT_NE (instance, nullptr) << error;
    juce::MemoryBlock saved;
    ASSERT_TRUE (state.getFile().loadFileAsData (saved));
    instance->setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));

    EXPECT_EQ (instance->getParameters()[22]->getCurrentValueAsText(), "Quarter");
    EXPECT_FLOAT_EQ (instance->getParameters()[26]->getCurrentValueAsText().getFloatValue(), -12.5f);
}

TEST_F (RenderToolLv2, ABundleWithoutAPluginIsOneLineOfError)
{
    juce::TemporaryFile folder { ".lv2" };
    ASSERT_TRUE (folder.getFile().createDirectory());
    const auto run = runRenderTool ({ "info", "--plugin", folder.getFile().getFullPathName() });
    EXPECT_EQ (run.exitCode, 1);
    EXPECT_TRUE (run.output.startsWith ("lumbra-render: error: ")) << run.output;
    folder.getFile().deleteRecursively();
}
