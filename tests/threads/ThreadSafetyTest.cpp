// The threads that meet in a session, all at once: the audio thread processing blocks, the message
// thread saving and restoring state, setting and tapping the tempo, flipping sync and reading the
// meters, and a host automation thread moving parameters. Built with ThreadSanitizer
// (scripts/thread-sanitizer-tests.sh), any data race between them fails the run.

#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace
{
constexpr double runSeconds = 3.0;

// Noise in every block, or (burstEvery > 0) in one block of every burstEvery and silence between,
// so that the strip goes idle and wakes again and again.
void audioThread (VelbrinLumbraProcessor& processor, const std::atomic<bool>& running, std::atomic<int>& blocks,
                  std::atomic<bool>& finite, int burstEvery)
{
    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;
    juce::Random random (1);

    while (running.load())
    {
        const auto loud = burstEvery == 0 || blocks.load() % burstEvery == 0;
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (channel, i, loud ? random.nextFloat() - 0.5f : 0.0f);

        processor.processBlock (buffer, midi);

        if (! allFinite (buffer))
            finite.store (false);
        ++blocks;
    }
}

// Moves random parameters; `leaveUntouched` are never moved (bypass always, and the returns' mixes
// where the tails must stay short enough for the strip to idle).
void automationThread (VelbrinLumbraProcessor& processor, const std::atomic<bool>& running, std::atomic<int>& changes,
                       std::vector<juce::String> leaveUntouched)
{
    juce::Random random (2);
    const auto& parameters = processor.getParameters();
    leaveUntouched.push_back ("bypass");

    while (running.load())
    {
        auto* parameter = parameters[random.nextInt (parameters.size())];
        const auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        if (ranged == nullptr
            || std::find (leaveUntouched.begin(), leaveUntouched.end(), ranged->getParameterID()) == leaveUntouched.end())
            parameter->setValueNotifyingHost (random.nextFloat());
        ++changes;
        std::this_thread::yield();
    }
}

// The message thread's side: what the editor, the host's project code and the user do.
int exerciseMessageThreadSide (VelbrinLumbraProcessor& processor, juce::Random& random)
{
    juce::MemoryBlock state;
    processor.getStateInformation (state);
    processor.setStateInformation (state.getData(), static_cast<int> (state.getSize()));

    processor.setManualBpm (60.0f + 100.0f * random.nextFloat());
    processor.registerTap();
    processor.hostSyncEnabled.store (random.nextBool());

    const auto readings = processor.inputLevelDb.load() + processor.outputLevelDb.load() + processor.manualBpm.load();
    return std::isfinite (readings) ? 1 : 0;
}

// The three threads together for runSeconds; the audio thread's input as audioThread describes.
void runSession (VelbrinLumbraProcessor& processor, int burstEvery, std::vector<juce::String> leaveUntouched)
{
    std::atomic<bool> running { true }, finite { true };
    std::atomic<int> blocks { 0 }, changes { 0 };
    std::thread audio (audioThread, std::ref (processor), std::cref (running), std::ref (blocks), std::ref (finite),
                       burstEvery);
    std::thread automation (automationThread, std::ref (processor), std::cref (running), std::ref (changes),
                            std::move (leaveUntouched));

    juce::Random random (3);
    int messageRounds = 0, finiteReadings = 0;
    const auto started = juce::Time::getMillisecondCounterHiRes();
    while (juce::Time::getMillisecondCounterHiRes() - started < runSeconds * 1000.0)
    {
        finiteReadings += exerciseMessageThreadSide (processor, random);
        ++messageRounds;
    }

    running.store (false);
    audio.join();
    automation.join();

    std::cout << "  " << blocks.load() << " blocks, " << changes.load() << " automation changes, " << messageRounds
              << " state/tempo rounds" << std::endl;
    EXPECT_TRUE (finite.load());
    EXPECT_EQ (finiteReadings, messageRounds);
    EXPECT_GT (blocks.load(), 10);
    EXPECT_GT (changes.load(), 10);
    EXPECT_GT (messageRounds, 10);
}
} // namespace

TEST (ThreadSafety, AudioStateTempoMetersAndAutomationRunTogether)
{
    ProcessorHarness harness (48000.0, 256);
    for (const auto& [id, value] : { std::pair { "spaceAMix", 40.0f }, { "spaceBMix", 30.0f }, { "echoMix", 50.0f },
                                     { "compAmount", 60.0f } })
        harness.set (id, value);

    runSession (*harness.processor, 0, {});
}

// The same with a block of noise among 255 of silence (1.4 s at 48 kHz, long enough for the shelves
// and the compressor's envelope to fall quiet): the strip idles and wakes throughout, while state
// restores, tempo and automation (the returns' mixes left at zero) come from the other threads.
TEST (ThreadSafety, IdlingAndWakingWhileStateTempoMetersAndAutomationRunTogether)
{
    ProcessorHarness harness (48000.0, 256);
    for (const auto& [id, value] : { std::pair { "spaceAMix", 0.0f }, { "spaceBMix", 0.0f }, { "echoMix", 0.0f },
                                     { "compAmount", 60.0f } })
        harness.set (id, value);

    runSession (*harness.processor, 256, { "spaceAMix", "spaceBMix", "echoMix" });
}
