// Ten minutes of audio, faster than real time, as a restless host would deliver it: random block
// sizes, the four common sample rates, and random automation of every parameter before each block,
// extremes included. Nothing may crash, go non-finite or allocate once prepared.

#include "tests/allocation/AllocationCounter.h"
#include "tests/support/ProcessorHarness.h"

#include <gtest/gtest.h>

namespace
{
constexpr int maximumBlockSize = 4096;
constexpr double secondsPerRate = 150.0; // 4 rates: 10 minutes in all

// Normalised values: a third of the time one end of the range, otherwise anywhere inside.
float randomSetting (juce::Random& random)
{
    const auto pick = random.nextInt (6);
    if (pick == 0)
        return 0.0f;
    if (pick == 1)
        return 1.0f;
    return random.nextFloat();
}

void automateEverything (VelbrinLumbraProcessor& processor, juce::Random& random)
{
    for (auto* parameter : processor.getParameters())
        if (random.nextInt (4) == 0)
            parameter->setValueNotifyingHost (randomSetting (random));

    // Keep bypass mostly off so the chain does the work.
    processor.parameters.getParameter ("bypass")->setValueNotifyingHost (random.nextInt (20) == 0 ? 1.0f : 0.0f);
}

void fillInput (juce::AudioBuffer<float>& block, int numSamples, juce::Random& random)
{
    const auto level = random.nextInt (10) == 0 ? 4.0f : random.nextFloat();
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < numSamples; ++i)
            block.setSample (channel, i, level * (2.0f * random.nextFloat() - 1.0f));
}

struct StressResult
{
    double audioSeconds = 0.0;
    int blocks = 0;
    std::size_t allocations = 0;
    bool finite = true;
    float loudestOutput = 0.0f;
};

StressResult stress (double sampleRate, juce::int64 seed)
{
    VelbrinLumbraProcessor processor;
    processor.prepareToPlay (sampleRate, maximumBlockSize);

    juce::Random random (seed);
    juce::AudioBuffer<float> storage (2, maximumBlockSize);
    juce::MidiBuffer midi;
    StressResult result;

    // The most demanding settings first: every stage at full tilt.
    for (const auto& [id, value] : { std::pair { "echoFeedback", 1.0f }, { "spaceAPreDelay", 1.0f },
                                     { "spaceBPreDelay", 1.0f }, { "spaceAMix", 1.0f }, { "spaceBMix", 1.0f },
                                     { "echoMix", 1.0f }, { "inputTrim", 1.0f }, { "outputTrim", 1.0f } })
        processor.parameters.getParameter (id)->setValueNotifyingHost (value);

    const auto totalSamples = static_cast<juce::int64> (secondsPerRate * sampleRate);
    for (juce::int64 done = 0; done < totalSamples;)
    {
        const auto numSamples = 1 + random.nextInt (maximumBlockSize);
        juce::AudioBuffer<float> block (storage.getArrayOfWritePointers(), 2, numSamples);
        fillInput (block, numSamples, random);
        if (result.blocks > 0)
            automateEverything (processor, random);

        {
            allocations::ScopedCount counting;
            processor.processBlock (block, midi);
            result.allocations += allocations::counted();
        }

        for (int channel = 0; channel < 2 && result.finite; ++channel)
            for (int i = 0; i < numSamples; ++i)
                if (! std::isfinite (block.getSample (channel, i)))
                    result.finite = false;

        result.loudestOutput = juce::jmax (result.loudestOutput, block.getMagnitude (0, numSamples));
        done += numSamples;
        ++result.blocks;
        if (! result.finite)
            break;
    }

    result.audioSeconds = secondsPerRate;
    return result;
}
} // namespace

TEST (AutomationStress, TenMinutesOfRandomBlocksRatesAndAutomationStayFiniteWithoutAllocating)
{
    const auto started = juce::Time::getMillisecondCounterHiRes();
    double audioSeconds = 0.0;

    for (const auto rate : { 44100.0, 48000.0, 96000.0, 192000.0 })
    {
        SCOPED_TRACE (rate);
        const auto result = stress (rate, static_cast<juce::int64> (rate));
        EXPECT_TRUE (result.finite);
        EXPECT_EQ (result.allocations, 0u);
        std::cout << "  " << rate << " Hz: " << result.blocks << " blocks, loudest output "
                  << juce::Decibels::gainToDecibels (result.loudestOutput) << " dBFS" << std::endl;
        audioSeconds += result.audioSeconds;
    }

    const auto elapsedSeconds = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;
    std::cout << "  " << audioSeconds << " s of audio in " << elapsedSeconds << " s ("
              << audioSeconds / elapsedSeconds << " x real time)" << std::endl;
    EXPECT_GE (audioSeconds, 600.0);
}
