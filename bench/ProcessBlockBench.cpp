// processBlock cost at 48 kHz stereo for small and large blocks. The real-time factor is seconds of
// audio processed per CPU second: 100 means one instance uses 1 % of a core.
//
// After the individual benchmarks, a table compares the full chain at typical settings with its
// floor (the same JUCE objects called bare, see BareChain), measured in alternating rounds so that
// both see the same machine load, and each block size's cost per sample with that at 512.

#include "bench/BareChain.h"
#include "bench/TypicalSettings.h"
#include "dsp/EchoStage.h"
#include "plugin/ParamIDs.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSizes[] = { 32, 64, 512 };

juce::AudioBuffer<float> noiseSeconds (double seconds)
{
    juce::AudioBuffer<float> buffer (2, static_cast<int> (seconds * sampleRate));
    juce::Random random (7);
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (channel, i, 0.25f * (2.0f * random.nextFloat() - 1.0f));
    return buffer;
}

// Whether the chain's echo runs at these settings, so the floor runs exactly the objects it runs.
bool chainRunsEcho (VelbrinLumbraProcessor& processor)
{
    const auto echo = ParameterHandles (processor.parameters).read().echo;
    return echo.enabled && echo.mix > minimumRunningMix;
}

// The chain and its floor behind one call: process `buffer` in place as one host block.
struct Contender
{
    explicit Contender (int blockSize, bool typical = true)
    {
        if (typical)
            TypicalSettings().applyTo (processor);
        processor.prepareToPlay (sampleRate, blockSize);
        floor.prepare (TypicalSettings(), sampleRate, blockSize, chainRunsEcho (processor));

        // Past the trims' start-up glide and the reverbs' fade-in, with the tails filled.
        auto warmUp = noiseSeconds (1.0);
        runChain (warmUp, blockSize);
        warmUp = noiseSeconds (1.0);
        runFloor (warmUp, blockSize);
    }

    void runChain (juce::AudioBuffer<float>& audio, int blockSize)
    {
        forEachBlock (audio, blockSize, [this] (juce::AudioBuffer<float>& block) { processor.processBlock (block, midi); });
    }

    // The chain with every continuous parameter moving before every block, a step up or down in
    // turn, so every glide and the pre-delays' crossfades run all the time. The values are written
    // where the audio thread reads them, so no host-side notification is timed.
    void runMovingChain (juce::AudioBuffer<float>& audio, int blockSize)
    {
        forEachBlock (audio, blockSize, [this] (juce::AudioBuffer<float>& block)
        {
            nudgeContinuousParameters (++movedBlocks % 2 == 0 ? 1.0f : -1.0f);
            processor.processBlock (block, midi);
        });
    }

    void nudgeContinuousParameters (float step)
    {
        const TypicalSettings typical;
        const std::pair<const juce::String*, float> values[] = {
            { &ParamIDs::inputTrim, typical.inputTrimDb }, { &ParamIDs::lowGain, typical.lowGainDb },
            { &ParamIDs::highGain, typical.highGainDb }, { &ParamIDs::compAmount, typical.compAmountPercent },
            { &ParamIDs::spaceAMix, typical.spaceAMixPercent }, { &ParamIDs::spaceAPreDelay, typical.spaceAPreDelayMs },
            { &ParamIDs::spaceBMix, typical.spaceBMixPercent }, { &ParamIDs::spaceBPreDelay, typical.spaceBPreDelayMs },
            { &ParamIDs::echoMix, typical.echoMixPercent }, { &ParamIDs::echoFeedback, typical.echoFeedbackPercent },
            { &ParamIDs::blend, typical.blendPercent - 1.0f }, { &ParamIDs::outputTrim, typical.outputTrimDb },
        };

        for (const auto& [id, value] : values)
            processor.parameters.getRawParameterValue (*id)->store (value + step);
    }

    void runFloor (juce::AudioBuffer<float>& audio, int blockSize)
    {
        forEachBlock (audio, blockSize, [this] (juce::AudioBuffer<float>& block) { floor.process (block); });
    }

    static void forEachBlock (juce::AudioBuffer<float>& audio, int blockSize,
                              const std::function<void (juce::AudioBuffer<float>&)>& processBlock)
    {
        for (int start = 0; start + blockSize <= audio.getNumSamples(); start += blockSize)
        {
            juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), 2, start, blockSize);
            processBlock (block);
        }
    }

    VelbrinLumbraProcessor processor;
    BareChain floor;
    juce::MidiBuffer midi;
    int movedBlocks = 0;
};

void reportRealTime (benchmark::State& state, int blockSize)
{
    const auto audioSeconds = static_cast<double> (state.iterations()) * blockSize / sampleRate;
    state.counters["realtime_x"] = benchmark::Counter (audioSeconds, benchmark::Counter::kIsRate);
}

template <bool typical, bool bare>
void processOneBlock (benchmark::State& state)
{
    const auto blockSize = static_cast<int> (state.range (0));
    Contender contender (blockSize, typical);
    const auto source = noiseSeconds (1.0);
    auto audio = source;
    int start = 0;

    for (auto _ : state)
    {
        if (start + blockSize > audio.getNumSamples())
        {
            state.PauseTiming();
            audio.makeCopyOf (source, true);
            start = 0;
            state.ResumeTiming();
        }

        juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), 2, start, blockSize);
        if (bare)
            contender.floor.process (block);
        else
            contender.processor.processBlock (block, contender.midi);
        benchmark::DoNotOptimize (block.getReadPointer (0));
        start += blockSize;
    }

    reportRealTime (state, blockSize);
}

void chainAtDefaults (benchmark::State& state) { processOneBlock<false, false> (state); }
void chainAtTypicalSettings (benchmark::State& state) { processOneBlock<true, false> (state); }
void jucefloor (benchmark::State& state) { processOneBlock<true, true> (state); }

double threadSeconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double> (now.tv_sec) + 1.0e-9 * static_cast<double> (now.tv_nsec);
}

double median (std::vector<double> values)
{
    std::sort (values.begin(), values.end());
    return values[values.size() / 2];
}

struct Comparison
{
    int blockSize;
    double chainNsPerBlock;
    double floorNsPerBlock;
};

// Alternating rounds of one second of audio each; the median round of each contender counts.
Comparison compare (int blockSize, int rounds, bool moving = false)
{
    Contender contender (blockSize);
    const auto source = noiseSeconds (1.0);
    const auto blocksPerRound = source.getNumSamples() / blockSize;
    std::vector<double> chainTimes, floorTimes;

    for (int round = 0; round < rounds; ++round)
    {
        auto audio = source;
        auto begin = threadSeconds();
        if (moving)
            contender.runMovingChain (audio, blockSize);
        else
            contender.runChain (audio, blockSize);
        chainTimes.push_back ((threadSeconds() - begin) / blocksPerRound);

        audio = source;
        begin = threadSeconds();
        contender.runFloor (audio, blockSize);
        floorTimes.push_back ((threadSeconds() - begin) / blocksPerRound);
    }

    return { blockSize, 1.0e9 * median (chainTimes), 1.0e9 * median (floorTimes) };
}

void printComparison (int rounds)
{
    std::vector<Comparison> results;
    for (const auto blockSize : blockSizes)
        results.push_back (compare (blockSize, rounds));

    const auto& largest = results.back();
    const auto chainPerSampleAtLargest = largest.chainNsPerBlock / largest.blockSize;
    const auto floorPerSampleAtLargest = largest.floorNsPerBlock / largest.blockSize;

    std::printf ("\nFull chain at typical settings against jucefloor, the same JUCE objects bare (48 kHz stereo, median of %d rounds)\n", rounds);
    std::printf ("%6s %14s %14s %12s %12s %18s %18s\n", "block", "chain ns/blk", "floor ns/blk", "chain/floor",
                 "chain RTF", "chain/sample vs", "floor/sample vs");
    std::printf ("%6s %14s %14s %12s %12s %18s %18s\n", "", "", "", "", "", "512-block sample", "512-block sample");

    for (const auto& r : results)
    {
        const auto realTimeFactor = (r.blockSize / sampleRate) / (r.chainNsPerBlock * 1.0e-9);
        std::printf ("%6d %14.0f %14.0f %11.3fx %11.0fx %17.3fx %17.3fx\n", r.blockSize, r.chainNsPerBlock,
                     r.floorNsPerBlock, r.chainNsPerBlock / r.floorNsPerBlock, realTimeFactor,
                     (r.chainNsPerBlock / r.blockSize) / chainPerSampleAtLargest,
                     (r.floorNsPerBlock / r.blockSize) / floorPerSampleAtLargest);
    }

    const auto moving = compare (64, rounds, true);
    std::printf ("\nEvery continuous parameter moving every block, 64-sample blocks: chain/floor %.3fx\n",
                 moving.chainNsPerBlock / moving.floorNsPerBlock);

    std::printf ("Targets: chain/jucefloor <= 0.50x at 64; a sample at 32 <= 1.25x a sample at 512.\n");
}

// CPU milliseconds per second of 48 kHz stereo audio in 64-sample blocks, at the defaults with
// the given parameters set: the median of alternating-free rounds after a warm-up.
double costMsPerSecond (const std::vector<std::pair<const juce::String*, float>>& settings, int rounds)
{
    constexpr int blockSize = 64;
    VelbrinLumbraProcessor processor;

    for (const auto& [id, value] : settings)
    {
        auto* parameter = processor.parameters.getParameter (*id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }

    processor.prepareToPlay (sampleRate, blockSize);
    const auto source = noiseSeconds (1.0);
    auto audio = source;
    Contender::forEachBlock (audio, blockSize, [&processor] (juce::AudioBuffer<float>& block)
    {
        juce::MidiBuffer midi;
        processor.processBlock (block, midi);
    });

    std::vector<double> times;
    juce::MidiBuffer midi;

    for (int round = 0; round < rounds; ++round)
    {
        audio = source;
        const auto begin = threadSeconds();
        Contender::forEachBlock (audio, blockSize, [&processor, &midi] (juce::AudioBuffer<float>& block) { processor.processBlock (block, midi); });
        times.push_back (1000.0 * (threadSeconds() - begin));
    }

    return median (times);
}

// Every stage engaged at typical settings.
std::vector<std::pair<const juce::String*, float>> everythingOn()
{
    const TypicalSettings typical;
    return { { &ParamIDs::lowGain, typical.lowGainDb }, { &ParamIDs::highGain, typical.highGainDb },
             { &ParamIDs::compAmount, typical.compAmountPercent },
             { &ParamIDs::spaceAMix, typical.spaceAMixPercent },
             { &ParamIDs::spaceAType, static_cast<float> (typical.spaceAType) },
             { &ParamIDs::spaceAPreDelay, typical.spaceAPreDelayMs },
             { &ParamIDs::spaceBMix, typical.spaceBMixPercent },
             { &ParamIDs::spaceBPreDelay, typical.spaceBPreDelayMs },
             { &ParamIDs::echoMix, typical.echoMixPercent },
             { &ParamIDs::echoDivision, static_cast<float> (typical.echoDivision) },
             { &ParamIDs::echoFeedback, typical.echoFeedbackPercent } };
}

// What each part of the chain costs: the defaults (trims, copies, meters, both shelves and the
// compressor), then each return switched on alone on top of them, and everything at typical settings.
void printStageCosts (int rounds)
{
    const TypicalSettings typical;
    const auto defaults = costMsPerSecond ({}, rounds);
    const auto spaceA = costMsPerSecond ({ { &ParamIDs::spaceAMix, typical.spaceAMixPercent } }, rounds);
    const auto spaceB = costMsPerSecond ({ { &ParamIDs::spaceBMix, typical.spaceBMixPercent } }, rounds);
    const auto spaceAWithPreDelay = costMsPerSecond ({ { &ParamIDs::spaceAMix, typical.spaceAMixPercent },
                                                       { &ParamIDs::spaceAPreDelay, typical.spaceAPreDelayMs } }, rounds);
    const auto echo = costMsPerSecond ({ { &ParamIDs::echoMix, typical.echoMixPercent },
                                         { &ParamIDs::echoDivision, static_cast<float> (typical.echoDivision) } }, rounds);

    const auto all = costMsPerSecond (everythingOn(), rounds);

    std::printf ("\nCost per part, CPU ms per second of audio (48 kHz stereo, 64-sample blocks, median of %d rounds)\n", rounds);
    std::printf ("%-72s %8.2f\n", "trims, copies, meters, both shelves and the compressor (the defaults)", defaults);
    std::printf ("%-72s %8.2f\n", "Space A's reverb", spaceA - defaults);
    std::printf ("%-72s %8.2f\n", "Space B's reverb", spaceB - defaults);
    std::printf ("%-72s %8.2f\n", "a space's pre-delay line (20 ms)", spaceAWithPreDelay - spaceA);
    std::printf ("%-72s %8.2f\n", "the echo", echo - defaults);
    std::printf ("%-72s %8.2f (%.0f x real time)\n", "typical settings, everything on", all, 1000.0 / all);
}

// The chain at typical settings with the dynamics stage at the host rate, 2x and 4x, and the
// stage's own share at each: the same chain with the stage switched off at the host rate taken away.
void printOversamplingCost (int rounds)
{
    auto costWith = [rounds] (float oversample, float dynamicsOn)
    {
        auto settings = everythingOn();
        settings.push_back ({ &ParamIDs::compEnabled, dynamicsOn });
        settings.push_back ({ &ParamIDs::compOversample, oversample });
        return costMsPerSecond (settings, rounds);
    };

    const auto withoutDynamics = costWith (0.0f, 0.0f);
    const double chain[] = { costWith (0.0f, 1.0f), costWith (1.0f, 1.0f), costWith (2.0f, 1.0f) };
    const char* names[] = { "Off", "2x", "4x" };

    std::printf ("\nOversample at typical settings, CPU ms per second of audio (48 kHz stereo, 64-sample blocks, median of %d rounds)\n", rounds);
    std::printf ("%-10s %12s %12s %16s\n", "setting", "chain", "x Off", "dynamics stage");
    for (int setting = 0; setting < 3; ++setting)
        std::printf ("%-10s %12.2f %11.2fx %16.2f\n", names[setting], chain[setting], chain[setting] / chain[0],
                     chain[setting] - withoutDynamics);
    std::printf ("Targets: 2x <= 1.6x and 4x <= 2.5x the chain with Off.\n");
}

juce::AudioBuffer<float> noiseThenSilence (double noiseLength, double silenceSeconds)
{
    auto noise = noiseSeconds (noiseLength);
    juce::AudioBuffer<float> audio (2, noise.getNumSamples() + static_cast<int> (silenceSeconds * sampleRate));
    audio.clear();
    for (int channel = 0; channel < 2; ++channel)
        audio.copyFrom (channel, 0, noise, channel, 0, noise.getNumSamples());
    return audio;
}

// CPU seconds for one warmed-up strip at typical settings to process `audio` in blocks.
double secondsToProcess (const juce::AudioBuffer<float>& source, int blockSize)
{
    Contender contender (blockSize);
    auto audio = source;
    const auto begin = threadSeconds();
    contender.runChain (audio, blockSize);
    return threadSeconds() - begin;
}

// A silent track: one second of noise then thirty of silence, against thirty-one of noise, each on
// a fresh strip at typical settings (median of `rounds`); then the cost of a block while the strip
// idles against a block of noise.
void printIdleCost (int rounds)
{
    const auto mostlySilent = noiseThenSilence (1.0, 30.0);
    const auto allNoise = noiseSeconds (31.0);

    std::printf ("\nA silent track at typical settings (48 kHz stereo, median of %d rounds)\n", rounds);
    std::printf ("%6s %22s %22s %10s\n", "block", "1 s noise + 30 s (ms)", "31 s noise (ms)", "ratio");
    for (const auto blockSize : blockSizes)
    {
        std::vector<double> silentTimes, noiseTimes;
        for (int round = 0; round < rounds; ++round)
        {
            silentTimes.push_back (secondsToProcess (mostlySilent, blockSize));
            noiseTimes.push_back (secondsToProcess (allNoise, blockSize));
        }
        const auto silent = median (silentTimes), noise = median (noiseTimes);
        std::printf ("%6d %22.1f %22.1f %9.3fx\n", blockSize, 1.0e3 * silent, 1.0e3 * noise, silent / noise);
    }

    std::printf ("\n%6s %16s %16s %10s\n", "block", "idle ns/blk", "active ns/blk", "ratio");
    for (const auto blockSize : blockSizes)
    {
        Contender contender (blockSize);
        auto silence = noiseThenSilence (0.0, 30.0);
        contender.runChain (silence, blockSize); // the tails die away and the strip idles
        if (! contender.processor.idling.load())
            std::printf ("(the strip did not idle)\n");

        const auto oneSecondOfSilence = noiseThenSilence (0.0, 1.0);
        const auto oneSecondOfNoise = noiseSeconds (1.0);
        const auto blocksPerRound = oneSecondOfNoise.getNumSamples() / blockSize;
        std::vector<double> idleTimes, activeTimes;
        Contender active (blockSize);

        for (int round = 0; round < rounds; ++round)
        {
            auto audio = oneSecondOfSilence;
            auto begin = threadSeconds();
            contender.runChain (audio, blockSize);
            idleTimes.push_back ((threadSeconds() - begin) / blocksPerRound);

            audio = oneSecondOfNoise;
            begin = threadSeconds();
            active.runChain (audio, blockSize);
            activeTimes.push_back ((threadSeconds() - begin) / blocksPerRound);
        }

        const auto idle = 1.0e9 * median (idleTimes), busy = 1.0e9 * median (activeTimes);
        std::printf ("%6d %16.0f %16.0f %9.2f%%\n", blockSize, idle, busy, 100.0 * idle / busy);
    }

    std::printf ("Targets: a silent track <= 0.25x thirty-one seconds of noise; an idle block <= 3 %% of an active one.\n");
}
} // namespace

BENCHMARK (chainAtDefaults)->Arg (32)->Arg (64)->Arg (512)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK (chainAtTypicalSettings)->Arg (32)->Arg (64)->Arg (512)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK (jucefloor)->Arg (32)->Arg (64)->Arg (512)->MeasureProcessCPUTime()->UseRealTime();

// `--no-tables` runs only the benchmarks, for profiling one of them.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    const auto* const lastArgument = argv + argc;
    const auto withTables = std::find (argv, argv + argc, std::string ("--no-tables")) == lastArgument;
    argc = static_cast<int> (std::remove (argv, argv + argc, std::string ("--no-tables")) - argv);
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (! withTables)
        return 0;

    printComparison (15);
    printStageCosts (9);
    printOversamplingCost (9);
    printIdleCost (5);
    return 0;
}
