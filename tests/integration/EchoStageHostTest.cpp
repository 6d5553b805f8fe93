// The echo through the built module, with the host's transport and the saved tempo settings.

#include "plugin/ParamIDs.h"
#include "plugin/PluginProcessor.h"
#include "tests/support/FixedPlayHead.h"
#include "tests/support/HostedState.h"
#include "tests/support/ImpulseRepeats.h"
#include "tests/support/ProcessorHarness.h"
#include "tests/support/RenderTool.h"
#include "tests/support/Vst3Fixture.h"

namespace
{
constexpr float impulseLevel = 0.5f;

struct EchoSetup
{
    int division;
    float mix, feedback;
    bool sync = true;
    float manualBpm = 120.0f;
    bool tapped473MsApart = false;
};

// Our own block with tone and dynamics off and the echo and tempo settings as given: how a
// project would carry them to the module.
juce::MemoryBlock ownBlockFor (const EchoSetup& setup)
{
    VelbrinLumbraProcessor processor;
    auto set = [&processor] (const juce::String& id, float value)
    {
        auto* parameter = processor.parameters.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    };
    set (ParamIDs::lowEnabled, 0.0f);
    set (ParamIDs::highEnabled, 0.0f);
    set (ParamIDs::compEnabled, 0.0f);
    set (ParamIDs::echoDivision, static_cast<float> (setup.division));
    set (ParamIDs::echoMix, setup.mix);
    set (ParamIDs::echoFeedback, setup.feedback);
    processor.setManualBpm (setup.manualBpm);
    processor.hostSyncEnabled = setup.sync;

    if (setup.tapped473MsApart)
    {
        double now = 1.0e6;
        processor.tapClockMs = [&now] { return now; };
        processor.registerTap();
        now += 473.0;
        processor.registerTap();
    }

    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

class EchoThroughTheModule : public Vst3Fixture
{
protected:
    void configure (const EchoSetup& setup)
    {
        juce::MemoryBlock hosted;
        plugin->getStateInformation (hosted);
        const auto configured = hostedState::withOwnBlock (hosted, ownBlockFor (setup));
        plugin->setStateInformation (configured.getData(), static_cast<int> (configured.getSize()));
    }

    // 50 ms of silence for the start-up fade, then an impulse and what follows it.
    juce::AudioBuffer<float> impulseResponse (int numSamples)
    {
        juce::AudioBuffer<float> settle (2, 2400);
        settle.clear();
        process (*plugin, settle, 512);

        auto audio = signals::impulse (numSamples, impulseLevel);
        process (*plugin, audio, 512);
        return audio;
    }
};
} // namespace

TEST_F (EchoThroughTheModule, SlapRepeatsEvery5760SamplesAt48kHz)
{
    ASSERT_NE (plugin, nullptr);
    configure ({ 0, 50.0f, 50.0f });
    expectRepeats (impulseResponse (4 * 5760), 0, impulseLevel, 5760, 0.5f, 0.5f);
}

TEST_F (EchoThroughTheModule, TheHostTempoIsFollowedOnlyWhenSyncedAndUsable)
{
    ASSERT_NE (plugin, nullptr);

    // Quarter at 48 kHz: 98.5 BPM is 48000 x 60 / 98.5 = 29238.579 samples, the manual 120 BPM 24000.
    const auto hostDelay = 48000.0 * 60.0 / 98.5;
    struct Case
    {
        const char* what;
        bool sync;
        bool hasPlayHead;
        std::optional<double> hostBpm;
        double delay;
    };
    const Case cases[] = {
        { "synced to a host at 98.5 BPM", true, true, 98.5, hostDelay },
        { "sync off", false, true, 98.5, 24000.0 },
        { "host at 1 BPM", true, true, 1.0, 24000.0 },
        { "host reports no tempo", true, true, std::nullopt, 24000.0 },
        { "no play head", true, false, 98.5, 24000.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        plugin = load (48000.0, 512);
        ASSERT_NE (plugin, nullptr);
        FixedPlayHead playHead;
        playHead.bpm = c.hostBpm;
        plugin->setPlayHead (c.hasPlayHead ? &playHead : nullptr);
        EchoSetup setup { 2, 50.0f, 0.0f };
        setup.sync = c.sync;
        configure (setup);

        const auto audio = impulseResponse (30000);
        for (int channel = 0; channel < 2; ++channel)
        {
            const auto repeat = firstRepeat (audio, channel);
            EXPECT_NEAR (repeat.delay, c.delay, 0.005);
            EXPECT_NEAR (repeat.level, impulseLevel * 0.5f, 1.0e-6f);
        }
        plugin->setPlayHead (nullptr);
    }
}

TEST_F (EchoThroughTheModule, ATappedTempoFromTheStateSetsTheQuarter)
{
    ASSERT_NE (plugin, nullptr);
    EchoSetup setup { 2, 50.0f, 50.0f };
    setup.sync = false;
    setup.tapped473MsApart = true;
    configure (setup);

    // 473 ms at 48 kHz: 22704 samples.
    const auto audio = impulseResponse (3 * 22704 + 100);
    const auto repeat = firstRepeat (audio, 0);
    EXPECT_NEAR (repeat.delay, 22704.0, 0.01);
    EXPECT_NEAR (repeat.level, impulseLevel * 0.5f, 1.0e-6f);
}

TEST (RenderToolEcho, AProjectsTappedTempoAndEchoSettingsShapeTheRender)
{
    juce::TemporaryFile state (".state"), input (".wav"), output (".wav");
    auto run = runRenderTool ({ "save-state", "--out", state.getFile().getFullPathName() });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    juce::MemoryBlock saved;
    ASSERT_TRUE (state.getFile().loadFileAsData (saved));
    EchoSetup setup { 2, 50.0f, 50.0f };
    setup.sync = false;
    setup.tapped473MsApart = true;
    const auto project = hostedState::withOwnBlock (saved, ownBlockFor (setup));
    ASSERT_TRUE (state.getFile().replaceWithData (project.getData(), project.getSize()));

    // The impulse comes 100 ms in, after the start-up fade.
    constexpr int start = 4800;
    juce::AudioBuffer<float> impulse (2, start + 3 * 22704 + 100);
    impulse.clear();
    impulse.setSample (0, start, impulseLevel);
    impulse.setSample (1, start, impulseLevel);
    ASSERT_TRUE (writeWavFile (input.getFile(), impulse, 48000.0));

    run = runRenderTool ({ "render", "--in", input.getFile().getFullPathName(), "--out", output.getFile().getFullPathName(),
                           "--load-state", state.getFile().getFullPathName(), "--block", "300" });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    const auto rendered = readWavFile (output.getFile());
    ASSERT_EQ (rendered.getNumSamples(), impulse.getNumSamples());
    EXPECT_EQ (rendered.getMagnitude (0, start), 0.0f);
    for (int channel = 0; channel < 2; ++channel)
    {
        const auto repeat = firstRepeat (rendered, channel, start);
        EXPECT_NEAR (repeat.delay, 22704.0, 0.01);
        EXPECT_NEAR (repeat.level, impulseLevel * 0.5f, 1.0e-6f);
        EXPECT_NEAR (rendered.getSample (channel, start + 2 * 22704), impulseLevel * 0.25f, 1.0e-5f);
    }
}
