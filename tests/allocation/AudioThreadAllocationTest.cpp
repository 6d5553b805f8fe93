#include "plugin/ParamIDs.h"
#include "tests/allocation/AllocationCounter.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace
{
constexpr int preparedBlockSize = 512;

// Every parameter moves before every block: floats to a random point of their range, choices to
// the next row, the sync and oversample switches flip. The stage switches and bypass stay on or
// off as asked, and mixes stay above zero, so that every stage keeps running.
class ParameterSweep
{
public:
    explicit ParameterSweep (VelbrinLumbraProcessor& processorToDrive) : processor (processorToDrive) {}

    void next (int blockIndex, bool stagesOn, bool bypassed)
    {
        for (const auto* id : { &ParamIDs::inputTrim, &ParamIDs::lowGain, &ParamIDs::highGain, &ParamIDs::compAmount,
                                &ParamIDs::spaceAPreDelay, &ParamIDs::spaceBPreDelay, &ParamIDs::echoFeedback,
                                &ParamIDs::blend, &ParamIDs::outputTrim })
            setNormalised (*id, random.nextFloat());

        for (const auto* id : { &ParamIDs::spaceAMix, &ParamIDs::spaceBMix, &ParamIDs::echoMix })
            setNormalised (*id, 0.01f + 0.99f * random.nextFloat());

        for (const auto* id : { &ParamIDs::lowMode, &ParamIDs::highMode, &ParamIDs::compMode, &ParamIDs::compOversample,
                                &ParamIDs::spaceAType, &ParamIDs::spaceBType, &ParamIDs::echoDivision })
            setNormalised (*id, static_cast<float> (blockIndex % 3) / 2.0f);

        for (const auto* id : { &ParamIDs::spaceAPreDelaySync, &ParamIDs::spaceBPreDelaySync })
            setNormalised (*id, static_cast<float> (blockIndex % 2));

        for (const auto* id : { &ParamIDs::lowEnabled, &ParamIDs::highEnabled, &ParamIDs::compEnabled,
                                &ParamIDs::spaceAEnabled, &ParamIDs::spaceBEnabled, &ParamIDs::echoEnabled })
            setNormalised (*id, stagesOn ? 1.0f : 0.0f);

        setNormalised (ParamIDs::bypass, bypassed ? 1.0f : 0.0f);
    }

private:
    void setNormalised (const juce::String& id, float value)
    {
        processor.parameters.getParameter (id)->setValueNotifyingHost (value);
    }

    VelbrinLumbraProcessor& processor;
    juce::Random random { 2024 };
};

// Processes one block with the counter armed and returns what it counted.
std::size_t allocationsDuring (VelbrinLumbraProcessor& processor, juce::AudioBuffer<float>& audio, int numSamples)
{
    juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), audio.getNumChannels(), 0, numSamples);
    juce::MidiBuffer midi;
    allocations::ScopedCount counting;
    processor.processBlock (block, midi);
    return allocations::counted();
}
} // namespace

// The counter sees both kinds of allocation the chain could make: operator new, and JUCE's
// malloc-based buffers (a block longer than the prepared size makes the scratch buffers grow).
TEST (AudioThreadAllocation, TheCounterSeesNewAndBufferGrowth)
{
    {
        allocations::ScopedCount counting;
        auto value = std::make_unique<int> (3);
        EXPECT_GE (allocations::counted(), 1u);
    }

    ProcessorHarness harness (48000.0, preparedBlockSize);
    auto longBlock = signals::noise (4 * preparedBlockSize, 3);
    EXPECT_GE (allocationsDuring (*harness.processor, longBlock, longBlock.getNumSamples()), 1u);
}

TEST (AudioThreadAllocation, ProcessBlockNeverAllocatesWithEveryStageRunningAndEveryParameterMoving)
{
    ProcessorHarness harness (48000.0, preparedBlockSize);
    ParameterSweep sweep (*harness.processor);
    juce::Random random (99);
    auto audio = signals::noise (preparedBlockSize, 5);

    constexpr int numBlocks = 1500;
    for (int blockIndex = 0; blockIndex < numBlocks; ++blockIndex)
    {
        // Now and then a block with the stages off, or bypassed, and back: switching is covered too.
        sweep.next (blockIndex, blockIndex % 97 != 50, blockIndex % 211 == 100);

        const auto numSamples = blockIndex % 4 == 0 ? preparedBlockSize : 1 + random.nextInt (preparedBlockSize);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < numSamples; ++i)
                audio.setSample (channel, i, 0.5f * (2.0f * random.nextFloat() - 1.0f));

        ASSERT_EQ (allocationsDuring (*harness.processor, audio, numSamples), 0u) << "block " << blockIndex;
        ASSERT_TRUE (allFinite (audio)) << "block " << blockIndex;
    }
}

// The strip goes idle, stays idle while settings move, wakes on a single sample and on bursts, and
// goes idle again, many times over: no block allocates.
TEST (AudioThreadAllocation, IdlingWakingAndSettingsMovingWhileIdleNeverAllocate)
{
    ProcessorHarness harness (48000.0, preparedBlockSize);
    for (const auto& [id, value] : { std::pair { ParamIDs::spaceAMix, 30.0f }, { ParamIDs::spaceBMix, 20.0f },
                                     { ParamIDs::echoMix, 20.0f }, { ParamIDs::compAmount, 50.0f },
                                     { ParamIDs::lowGain, 6.0f } })
        harness.set (id, value);

    juce::Random random (7);
    juce::AudioBuffer<float> audio (2, preparedBlockSize);
    constexpr int blocksPerCycle = 560; // about 6 s: a 0.2 s burst, then silence long enough to idle

    for (int cycle = 0; cycle < 3; ++cycle)
    {
        for (int blockIndex = 0; blockIndex < blocksPerCycle; ++blockIndex)
        {
            audio.clear();
            if (blockIndex < 20)
            {
                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < preparedBlockSize; ++i)
                        audio.setSample (channel, i, 0.5f * (2.0f * random.nextFloat() - 1.0f));
            }
            if (blockIndex == 500)
                audio.setSample (0, 200, 0.25f);

            if (blockIndex == 450)
            {
                harness.set (ParamIDs::lowGain, cycle == 1 ? -6.0f : 6.0f);
                harness.set (ParamIDs::spaceAMix, cycle == 1 ? 60.0f : 30.0f);
                harness.set (ParamIDs::bypass, cycle == 2 ? 1.0f : 0.0f);
            }

            ASSERT_EQ (allocationsDuring (*harness.processor, audio, preparedBlockSize), 0u)
                << "cycle " << cycle << ", block " << blockIndex;
            ASSERT_TRUE (allFinite (audio));

            if (blockIndex == 499)
            {
                EXPECT_TRUE (harness.processor->idling.load()) << "cycle " << cycle;
            }
        }
    }
}

namespace
{
long minorFaultsOfThisThread()
{
    rusage usage {};
    getrusage (RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}
} // namespace

// Memory prepared but not yet used (both spaces and the echo off since preparing, Oversample at
// Off) is in place before the first block: turning every stage on, at the longest synced
// pre-delays and with Oversample at 4x, faults in no page while processing. A page first touched
// there would have the system zero it inside the block, hundreds of microseconds for a large page.
TEST (AudioThreadAllocation, TurningEveryStageOnTouchesNoNewPage)
{
    ProcessorHarness harness (48000.0, preparedBlockSize);
    for (const auto* id : { &ParamIDs::spaceAEnabled, &ParamIDs::spaceBEnabled, &ParamIDs::echoEnabled })
        harness.set (*id, 0.0f);

    auto warmUp = signals::noise (48000, 8);
    harness.process (warmUp);

    for (const auto& [id, value] : { std::pair { ParamIDs::spaceAEnabled, 1.0f }, { ParamIDs::spaceBEnabled, 1.0f },
                                     { ParamIDs::echoEnabled, 1.0f }, { ParamIDs::spaceAMix, 50.0f },
                                     { ParamIDs::spaceBMix, 50.0f }, { ParamIDs::echoMix, 50.0f },
                                     { ParamIDs::spaceAPreDelaySync, 1.0f }, { ParamIDs::spaceBPreDelaySync, 1.0f },
                                     { ParamIDs::spaceAPreDelay, 500.0f }, { ParamIDs::spaceBPreDelay, 500.0f },
                                     { ParamIDs::compOversample, 2.0f } })
        harness.set (id, value);
    harness.processor->setManualBpm (20.0);

    auto audio = signals::noise (5 * 48000, 9);
    const auto before = minorFaultsOfThisThread();
    harness.process (audio);
    EXPECT_EQ (minorFaultsOfThisThread() - before, 0);
    EXPECT_TRUE (allFinite (audio));
}
