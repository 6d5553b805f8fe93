// What `lumbra-render render` writes: 32-bit float unless asked, and never a silently clipped
// integer file. The clip figures it prints are checked against the float render read back.

#include "tests/support/RenderTool.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct WavFacts
{
    unsigned int bits = 0;
    bool isFloat = false;
    juce::AudioBuffer<float> audio;
};

WavFacts readFacts (const juce::File& file)
{
    const auto reader = openWavReader (file);
    if (reader == nullptr)
        return {};

    WavFacts facts { reader->bitsPerSample, reader->usesFloatingPointData, {} };
    facts.audio.setSize (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    reader->read (&facts.audio, 0, facts.audio.getNumSamples(), 0, true, true);
    return facts;
}

float peakOf (const juce::AudioBuffer<float>& audio)
{
    auto peak = 0.0f;
    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        peak = juce::jmax (peak, audio.getMagnitude (channel, 0, audio.getNumSamples()));
    return peak;
}

int samplesOverFullScale (const juce::AudioBuffer<float>& audio)
{
    int count = 0;
    for (int channel = 0; channel < audio.getNumChannels(); ++channel)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            count += std::abs (audio.getSample (channel, i)) > 1.0f ? 1 : 0;
    return count;
}

// "peak -1.9 dBFS" -> -1.9
double printedPeakDb (const juce::String& output)
{
    return output.fromLastOccurrenceOf ("peak ", false, false).upToFirstOccurrenceOf (" dBFS", false, false).getDoubleValue();
}

class RenderFormats : public ::testing::Test
{
protected:
    juce::TemporaryFile signal { ".wav" }, hot { ".wav" }, out { ".wav" };

    // The test signal peaks at 0.8; +12 dB carries its clicks and tones well over full scale.
    void SetUp() override
    {
        ASSERT_EQ (runRenderTool ({ "generate", "--out", signal.getFile().getFullPathName(), "--seconds", "1", "--rate", "44100" })
                       .exitCode,
                   0);
        const auto run = render (hot.getFile(), { "--set", "outputTrim=12" });
        ASSERT_EQ (run.exitCode, 0) << run.output;
    }

    ToolRun render (const juce::File& to, juce::StringArray extra)
    {
        juce::StringArray words { "render", "--in", signal.getFile().getFullPathName(), "--out", to.getFullPathName() };
        words.addArray (extra);
        return runRenderTool (words);
    }
};
} // namespace

TEST_F (RenderFormats, FloatByDefaultKeepsEveryLevelAboveFullScaleAndPrintsTheFilesPeak)
{
    const auto facts = readFacts (hot.getFile());
    EXPECT_TRUE (facts.isFloat);
    EXPECT_EQ (facts.bits, 32u);
    // 0.8 at +12 dB is 3.2; the strip's defaults (compressor at 0 dBFS) keep it above 1.5 at least.
    EXPECT_GT (peakOf (facts.audio), 1.5f);
    EXPECT_GT (samplesOverFullScale (facts.audio), 0);

    const auto again = render (out.getFile(), { "--set", "outputTrim=12" });
    ASSERT_EQ (again.exitCode, 0);
    EXPECT_NEAR (printedPeakDb (again.output), juce::Decibels::gainToDecibels (peakOf (facts.audio)), 0.051) << again.output;
}

TEST_F (RenderFormats, IntegerFileThatWouldClipIsRefusedWithTheCountAndThePeak)
{
    const auto floatRender = readFacts (hot.getFile()).audio;
    const auto overs = samplesOverFullScale (floatRender);
    const auto peakDb = juce::Decibels::gainToDecibels (peakOf (floatRender));

    for (const auto* bits : { "16", "24" })
    {
        SCOPED_TRACE (bits);
        out.getFile().deleteFile();
        const auto run = render (out.getFile(), { "--set", "outputTrim=12", "--bits", bits });
        EXPECT_NE (run.exitCode, 0);
        EXPECT_TRUE (run.output.startsWith ("lumbra-render: error: " + juce::String (overs) + " samples would clip in a "
                                            + bits + "-bit file (peak "))
            << run.output;
        EXPECT_NEAR (printedPeakDb (run.output), peakDb, 0.006) << run.output;
        EXPECT_FALSE (out.getFile().exists());
    }
}

TEST_F (RenderFormats, AllowClipWritesTheIntegerFileClippedAndSaysSo)
{
    const auto overs = samplesOverFullScale (readFacts (hot.getFile()).audio);
    for (const auto bits : { 16u, 24u })
    {
        SCOPED_TRACE (bits);
        const auto run = render (out.getFile(), { "--set", "outputTrim=12", "--bits", juce::String (bits), "--allow-clip" });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        EXPECT_TRUE (run.output.contains (juce::String (overs) + " samples clipped")) << run.output;
        EXPECT_TRUE (run.output.contains ("peak 0.0 dBFS")) << run.output;

        const auto facts = readFacts (out.getFile());
        EXPECT_FALSE (facts.isFloat);
        EXPECT_EQ (facts.bits, bits);
        EXPECT_GE (peakOf (facts.audio), 0.9999f);
        EXPECT_LE (peakOf (facts.audio), 1.0f);
    }
}

TEST_F (RenderFormats, IntegerFilesBelowFullScaleHoldTheFloatRenderWithinTheirStep)
{
    juce::TemporaryFile reference { ".wav" };
    ASSERT_EQ (render (reference.getFile(), { "--set", "outputTrim=-6" }).exitCode, 0);
    const auto floatRender = readFacts (reference.getFile()).audio;
    ASSERT_LT (peakOf (floatRender), 1.0f);

    for (const auto bits : { 16u, 24u })
    {
        SCOPED_TRACE (bits);
        const auto run = render (out.getFile(), { "--set", "outputTrim=-6", "--bits", juce::String (bits) });
        ASSERT_EQ (run.exitCode, 0) << run.output;
        const auto facts = readFacts (out.getFile());
        EXPECT_FALSE (facts.isFloat);
        EXPECT_EQ (facts.bits, bits);
        ASSERT_EQ (facts.audio.getNumSamples(), floatRender.getNumSamples());

        const auto step = std::ldexp (1.0f, -static_cast<int> (bits - 1));
        auto worst = 0.0f;
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < floatRender.getNumSamples(); ++i)
                worst = juce::jmax (worst, std::abs (facts.audio.getSample (channel, i) - floatRender.getSample (channel, i)));
        EXPECT_LE (worst, step);
        EXPECT_GT (worst, 0.0f); // it really is the integer file
    }
}

TEST_F (RenderFormats, BadBitsAreRefused)
{
    for (const auto* bits : { "8", "20", "32.0", "float" })
    {
        const auto run = render (out.getFile(), { "--bits", bits });
        EXPECT_NE (run.exitCode, 0) << bits;
        EXPECT_TRUE (run.output.startsWith ("lumbra-render: error: invalid value")) << run.output;
    }
}
