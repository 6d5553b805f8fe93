#include "bench/InstanceScaling.h"

#include "bench/TypicalSettings.h"
#include "dsp/EchoStage.h"
#include "dsp/LineMemory.h"
#include "dsp/OversampledDynamics.h"
#include "dsp/SpaceStage.h"
#include "dsp/ToneStage.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <memory>
#include <vector>

namespace
{
double threadSeconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double> (now.tv_sec) + 1.0e-9 * static_cast<double> (now.tv_nsec);
}

// Bytes the allocator has handed out and not had back, mapped blocks included, and the delay lines'.
long long heapBytesHeld()
{
    const auto info = mallinfo2();
    return static_cast<long long> (info.uordblks + info.hblkhd + LineMemory::bytesHeldByAll());
}

juce::AudioBuffer<float> noise (int samples, int seed)
{
    juce::AudioBuffer<float> buffer (2, samples);
    juce::Random random (seed);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < samples; ++i)
            buffer.setSample (channel, i, 0.25f * (2.0f * random.nextFloat() - 1.0f));
    return buffer;
}

// CPU nanoseconds per instance and block: `count` strips at typical settings, each fed its own
// loop of sixteen blocks of noise in turn, the smallest of three rounds of one second each.
double nsPerInstanceBlock (int count, int blockSize)
{
    constexpr double rate = 48000.0;
    std::vector<std::unique_ptr<VelbrinLumbraProcessor>> strips;
    std::vector<juce::AudioBuffer<float>> inputs;
    for (int i = 0; i < count; ++i)
    {
        strips.push_back (std::make_unique<VelbrinLumbraProcessor>());
        TypicalSettings().applyTo (*strips.back());
        strips.back()->prepareToPlay (rate, blockSize);
        // A host reads each track's audio a block ahead into a small buffer: a short loop of noise,
        // not seconds of it, so the inputs do not crowd the strips out of the cache.
        inputs.push_back (noise (blockSize * 16, 100 + i));
    }

    juce::AudioBuffer<float> block (2, blockSize);
    juce::MidiBuffer midi;
    const auto blocksPerSecond = static_cast<int> (rate) / blockSize;
    const auto loopBlocks = inputs.front().getNumSamples() / blockSize;

    auto playSecond = [&] (int second)
    {
        for (int index = 0; index < blocksPerSecond; ++index)
        {
            const auto start = ((second * blocksPerSecond + index) % loopBlocks) * blockSize;
            for (int i = 0; i < count; ++i)
            {
                for (int channel = 0; channel < 2; ++channel)
                    block.copyFrom (channel, 0, inputs[static_cast<size_t> (i)], channel, start, blockSize);
                strips[static_cast<size_t> (i)]->processBlock (block, midi);
            }
        }
    };

    playSecond (0); // past the start-up glides, the tails filled
    auto fastest = 1.0e300;
    for (int round = 1; round <= 3; ++round)
    {
        const auto begin = threadSeconds();
        playSecond (round);
        fastest = std::min (fastest, threadSeconds() - begin);
    }
    return 1.0e9 * fastest / (static_cast<double> (blocksPerSecond) * count);
}

template <typename Make>
double kilobytesHeldBy (Make&& make)
{
    const auto before = heapBytesHeld();
    auto held = make();
    const auto after = heapBytesHeld();
    return static_cast<double> (after - before) / 1024.0;
}

void printMemory (double rate)
{
    const juce::dsp::ProcessSpec spec { rate, 512, 2 };
    const auto whole = kilobytesHeldBy ([rate]
    {
        auto strip = std::make_unique<VelbrinLumbraProcessor>();
        strip->prepareToPlay (rate, 512);
        return strip;
    });
    const auto unprepared = kilobytesHeldBy ([] { return std::make_unique<VelbrinLumbraProcessor>(); });
    const auto space = kilobytesHeldBy ([&spec]
    {
        auto stage = std::make_unique<SpaceStage> (SpaceKind::a);
        stage->prepare (spec, 0);
        return stage;
    });
    const auto reverbAlone = kilobytesHeldBy ([&spec]
    {
        auto kernel = std::make_unique<ReverbKernel>();
        kernel->prepare (spec);
        return kernel;
    });
    const auto echo = kilobytesHeldBy ([&spec]
    {
        auto stage = std::make_unique<EchoStage>();
        stage->prepare (spec);
        return stage;
    });
    const auto dynamics = kilobytesHeldBy ([&spec]
    {
        auto stage = std::make_unique<OversampledDynamics>();
        stage->prepare (spec);
        return stage;
    });
    const auto tone = kilobytesHeldBy ([&spec]
    {
        auto stage = std::make_unique<ToneStage>();
        stage->prepare (spec);
        return stage;
    });

    std::printf ("%6.0f kHz %10.0f %10.0f %10.0f %10.0f %10.0f %10.0f %10.0f %10.0f\n", rate / 1000.0, whole, unprepared,
                 space - reverbAlone, reverbAlone, echo, dynamics, tone,
                 whole - 2 * space - echo - dynamics - tone);
}
} // namespace

void printInstanceScaling (double)
{
    std::printf ("\nInstances in one thread, each on its own input (a 16-block loop), typical settings, 48 kHz stereo (smallest of 3 rounds)\n");
    std::printf ("%6s %10s %18s %12s\n", "block", "instances", "ns per instance", "x one");
    for (const auto blockSize : { 64, 512 })
    {
        const auto one = nsPerInstanceBlock (1, blockSize);
        for (const auto count : { 1, 16, 64 })
        {
            const auto each = count == 1 ? one : nsPerInstanceBlock (count, blockSize);
            std::printf ("%6d %10d %18.0f %11.2fx\n", blockSize, count, each, each / one);
        }
    }
    std::printf ("Target: 64 instances <= 1.25x one per instance at 64-sample blocks.\n");

    std::printf ("\nHeap one instance holds, KiB, prepared for 512-sample stereo blocks\n");
    std::printf ("%10s %10s %10s %10s %10s %10s %10s %10s %10s\n", "rate", "instance", "unprepared", "pre-delay",
                 "reverb", "echo", "dynamics", "tone", "rest");
    for (const auto rate : { 44100.0, 48000.0, 96000.0, 192000.0 })
        printMemory (rate);
    std::printf ("(pre-delay and reverb are per space; the instance has two. \"rest\": parameters, scratch buffers, bypass delay;\n"
                 " \"unprepared\": an instance before prepareToPlay, its reverbs sized for 44.1 kHz until then.)\n");
}
