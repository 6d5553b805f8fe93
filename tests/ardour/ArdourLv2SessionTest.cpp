// The LV2 plug-in in Ardour 7 (Debian's `ardour`), driven headless through ardour7-lua and control
// ports only: inserted on a track, set, exported, saved, reopened and exported again. Each Ardour
// run gets its own HOME and XDG folders, ARDOUR_FPU_FLAGS=95 (Ardour 7.3's AVX-512 mixing routine
// corrupts the heap during export on CPUs that have it) and a time limit.

#include "tests/support/Lv2State.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

namespace
{
constexpr auto ardourLua = "/usr/bin/ardour7-lua";

juce::AudioBuffer<float> readWavFile (const juce::File& file)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader;
    if (auto stream = file.createInputStream())
        reader.reset (wav.createReaderFor (stream.release(), true));
    if (reader == nullptr)
        return {};

    juce::AudioBuffer<float> audio (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
    return audio;
}

struct ArdourRun
{
    int exitCode = -1;
    juce::String output;
};

class ArdourLv2Session : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE (juce::File (ardourLua).existsAsFile())
            << "Ardour's headless Lua host is missing: scripts/install-deps.sh installs it (package ardour)";

        work = std::make_unique<juce::TemporaryFile> ("ardour-lv2");
        ASSERT_TRUE (folder().createDirectory());
        created = runArdour ("create");
        reopened = runArdour ("reopen");
    }

    static void TearDownTestSuite()
    {
        if (work != nullptr)
            folder().deleteRecursively();
        work.reset();
    }

    static juce::File folder() { return work->getFile(); }
    static juce::File session() { return folder().getChildFile ("session"); }
    static juce::File exports() { return folder().getChildFile ("export"); }

    static ArdourRun runArdour (const juce::String& mode)
    {
        const auto home = folder().getChildFile ("home");
        home.createDirectory();
        exports().createDirectory();

        const juce::StringArray command { "env",
                                          "HOME=" + home.getFullPathName(),
                                          "XDG_CONFIG_HOME=" + home.getChildFile (".config").getFullPathName(),
                                          "XDG_CACHE_HOME=" + home.getChildFile (".cache").getFullPathName(),
                                          "XDG_DATA_HOME=" + home.getChildFile (".local/share").getFullPathName(),
                                          "ARDOUR_FPU_FLAGS=95",
                                          "LV2_PATH=" + juce::File (LUMBRA_LV2_BUNDLE).getParentDirectory().getFullPathName(),
                                          "timeout", "-k", "10", "150",
                                          ardourLua,
                                          LUMBRA_ARDOUR_SCRIPT,
                                          mode,
                                          session().getFullPathName(),
                                          exports().getFullPathName() };
        juce::ChildProcess process;
        ArdourRun run;
        if (process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        {
            run.output = process.readAllProcessOutput();
            process.waitForProcessToFinish (180000);
            run.exitCode = static_cast<int> (process.getExitCode());
        }
        return run;
    }

    static float paramLine (const ArdourRun& run, const juce::String& name)
    {
        for (const auto& line : juce::StringArray::fromLines (run.output))
            if (line.startsWith ("param " + name + " "))
                return line.fromLastOccurrenceOf (" ", false, false).getFloatValue();
        return std::numeric_limits<float>::quiet_NaN();
    }

    static double rmsDb (const juce::String& name)
    {
        const auto audio = readWavFile (exports().getChildFile (name + ".wav"));
        if (audio.getNumSamples() == 0)
            return -400.0;
        // Past the first tenth of a second, where the echo and the spaces have filled in.
        const auto start = audio.getNumSamples() / 10;
        return juce::Decibels::gainToDecibels (audio.getRMSLevel (0, start, audio.getNumSamples() - start));
    }

    static inline std::unique_ptr<juce::TemporaryFile> work;
    static inline ArdourRun created, reopened;
};
} // namespace

TEST_F (ArdourLv2Session, SetsEveryParameterThroughItsControlPort)
{
    ASSERT_EQ (created.exitCode, 0) << created.output;
    EXPECT_TRUE (created.output.contains ("exported created")) << created.output;
    EXPECT_EQ (paramLine (created, "Output"), -12.0f);
    EXPECT_EQ (paramLine (created, "Space B"), 42.0f);
    EXPECT_EQ (paramLine (created, "Echo Division"), 2.0f);
    EXPECT_EQ (paramLine (created, "Low Enabled"), 0.0f);
}

// Ardour keeps the ports' values in its session file and the plug-in's document in the LV2 state
// folder: both hold the settings made through the ports.
TEST_F (ArdourLv2Session, TheSavedSessionHoldsThePortsAndThePluginState)
{
    ASSERT_EQ (created.exitCode, 0) << created.output;
    const auto sessionFile = session().getChildFile ("lumbra.ardour").loadFileAsString();
    EXPECT_TRUE (sessionFile.contains ("<Port symbol=\"outputTrim\" value=\"-12\"/>")) << sessionFile.substring (0, 400);
    EXPECT_TRUE (sessionFile.contains ("<Port symbol=\"spaceBMix\" value=\"42\"/>"));

    const auto states = session().getChildFile ("plugins").findChildFiles (juce::File::findFiles, true, "state.ttl");
    ASSERT_FALSE (states.isEmpty()) << "no LV2 state in the session";
    const auto document = lv2State::ownDocumentOf (lv2State::hostedFrom (states.getLast().loadFileAsString()));
    ASSERT_NE (document, nullptr) << states.getLast().loadFileAsString();
    EXPECT_EQ (document->getChildByAttribute ("id", "outputTrim")->getDoubleAttribute ("value"), -12.0);
    EXPECT_EQ (document->getChildByAttribute ("id", "spaceBMix")->getDoubleAttribute ("value"), 42.0);
    EXPECT_EQ (document->getChildByAttribute ("id", "echoDivision")->getDoubleAttribute ("value"), 2.0);
    EXPECT_EQ (document->getChildByAttribute ("id", "lowEnabled")->getDoubleAttribute ("value"), 0.0);
    EXPECT_EQ (document->getStringAttribute ("manualBpm"), "120.0");
}

TEST_F (ArdourLv2Session, AReopenedSessionRestoresAndStillResponds)
{
    ASSERT_EQ (reopened.exitCode, 0) << reopened.output;
    EXPECT_EQ (paramLine (reopened, "Output"), -12.0f);
    EXPECT_EQ (paramLine (reopened, "Space B"), 42.0f);
    EXPECT_EQ (paramLine (reopened, "Echo Division"), 2.0f);
    EXPECT_EQ (paramLine (reopened, "Low Enabled"), 0.0f);

    // The same settings sound the same after reopening; the output trim set back to 0 dB is 12 dB louder.
    const auto before = rmsDb ("created"), after = rmsDb ("reopened"), louder = rmsDb ("louder");
    EXPECT_GT (before, -60.0) << "the export is silent";
    EXPECT_NEAR (after, before, 0.2);
    EXPECT_NEAR (louder - after, 12.0, 0.2);
}
