// Each of the chain's own kernels against the JUCE object it replaces, on the same 48 kHz stereo
// noise in 64-sample blocks: the reverb, a delay line fed then read (a pre-delay), a delay line
// read then fed back (the echo), the compressor's detector and gain curve, and both shelves. After the individual
// benchmarks a table gives each pair's cost, measured in alternating rounds, and the speed-up.

#include "dsp/Biquad.h"
#include "dsp/CompressorGain.h"
#include "dsp/DspTypes.h"
#include "dsp/DynamicsStage.h"
#include "dsp/PeakEnvelope.h"
#include "dsp/ReverbKernel.h"
#include "dsp/RingDelay.h"
#include "dsp/SpaceStage.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 64;
constexpr int numChannels = 2;
const juce::dsp::ProcessSpec spec { sampleRate, blockSize, numChannels };

juce::AudioBuffer<float> noiseBlock()
{
    juce::AudioBuffer<float> buffer (numChannels, blockSize);
    juce::Random random (7);
    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < blockSize; ++i)
            buffer.setSample (channel, i, 0.25f * (2.0f * random.nextFloat() - 1.0f));
    return buffer;
}

// One block of a kernel or of its JUCE reference, on a fresh copy of the same noise each time.
struct Contender
{
    virtual ~Contender() = default;
    virtual void process (juce::AudioBuffer<float>& block) = 0;
};

template <typename Reverb>
struct ReverbContender : Contender
{
    ReverbContender()
    {
        reverb.setParameters (spaceSettings (SpaceKind::a, 1, 1.0f));
        reverb.prepare (spec);
    }

    void process (juce::AudioBuffer<float>& block) override
    {
        juce::dsp::AudioBlock<float> view (block);
        reverb.process (ReplacingContext (view));
    }

    Reverb reverb;
};

// 20 ms, the typical pre-delay: a whole number of samples at 48 kHz.
constexpr float preDelaySamples = 960.0f;
// The echo's 8th note at 120 BPM.
constexpr float echoSamples = 12000.0f;
constexpr float echoFeedback = 0.35f;

struct JucePreDelay : Contender
{
    JucePreDelay()
    {
        line.setMaximumDelayInSamples (static_cast<int> (sampleRate * 0.6));
        line.prepare (spec);
        line.setDelay (preDelaySamples);
    }

    void process (juce::AudioBuffer<float>& block) override
    {
        juce::dsp::AudioBlock<float> view (block);
        line.process (ReplacingContext (view));
    }

    FractionalDelayLine line;
};

struct RingPreDelay : Contender
{
    RingPreDelay() { line.prepare (numChannels, static_cast<int> (sampleRate * 0.6)); }

    void process (juce::AudioBuffer<float>& block) override
    {
        for (int channel = 0; channel < numChannels; ++channel)
            line.process (channel, block.getWritePointer (channel), block.getNumSamples(), preDelaySamples);
    }

    RingDelay line;
};

struct JuceEcho : Contender
{
    JuceEcho()
    {
        line.setMaximumDelayInSamples (static_cast<int> (2 * sampleRate));
        line.prepare (spec);
        line.setDelay (echoSamples);
    }

    void process (juce::AudioBuffer<float>& block) override
    {
        for (int channel = 0; channel < numChannels; ++channel)
        {
            auto* x = block.getWritePointer (channel);
            for (int i = 0; i < block.getNumSamples(); ++i)
            {
                const auto repeat = line.popSample (channel);
                line.pushSample (channel, x[i] + echoFeedback * repeat);
                x[i] += 0.2f * repeat;
            }
        }
    }

    FractionalDelayLine line;
};

struct RingEcho : Contender
{
    RingEcho() { line.prepare (numChannels, static_cast<int> (2 * sampleRate)); }

    void process (juce::AudioBuffer<float>& block) override
    {
        float repeats[blockSize], feed[blockSize];
        const auto n = block.getNumSamples();

        for (int channel = 0; channel < numChannels; ++channel)
        {
            auto* x = block.getWritePointer (channel);
            line.read (channel, echoSamples, repeats, n);
            for (int i = 0; i < n; ++i)
            {
                feed[i] = x[i] + echoFeedback * repeats[i];
                x[i] += 0.2f * repeats[i];
            }
            line.write (channel, feed, n);
            line.advance (channel, n);
        }
    }

    RingDelay line;
};

// The "Glue" character at 40 %: detector and gain, as the dynamics stage runs them at rest.
const auto glue = compressorCharacter (0);
const auto threshold = juce::Decibels::decibelsToGain (-24.0f * 0.4f);

struct JuceCompressor : Contender
{
    JuceCompressor()
    {
        envelope.prepare (spec);
        envelope.setAttackTime (glue.attackMs);
        envelope.setReleaseTime (glue.releaseMs);
    }

    void process (juce::AudioBuffer<float>& block) override
    {
        const auto exponent = 1.0f / glue.ratio - 1.0f;
        for (int channel = 0; channel < numChannels; ++channel)
        {
            auto* x = block.getWritePointer (channel);
            for (int i = 0; i < block.getNumSamples(); ++i)
            {
                const auto env = envelope.processSample (channel, x[i]);
                const auto gain = env < threshold ? 1.0f : std::pow (env * (1.0f / threshold), exponent);
                x[i] = gain * x[i];
            }
        }
    }

    juce::dsp::BallisticsFilter<float> envelope;
};

struct KernelCompressor : Contender
{
    KernelCompressor()
    {
        envelope.prepare (sampleRate, numChannels);
        envelope.setAttackTime (glue.attackMs);
        envelope.setReleaseTime (glue.releaseMs);
    }

    void process (juce::AudioBuffer<float>& block) override
    {
        float env[blockSize], gains[blockSize];
        const auto n = block.getNumSamples();
        for (int channel = 0; channel < numChannels; ++channel)
        {
            auto* x = block.getWritePointer (channel);
            envelope.process (channel, x, env, n);
            compressorGain::compute (env, threshold, 1.0f / threshold, 1.0f / glue.ratio - 1.0f, gains, n);
            for (int i = 0; i < n; ++i)
                x[i] = gains[i] * x[i];
        }
    }

    PeakEnvelope envelope;
};

// Both shelves at the typical settings ("Warm" +3 dB, "Silk" +2 dB), as the tone stage runs them at rest.
using ShelfCoefficients = juce::dsp::IIR::Coefficients<float>;
using ShelfDesign = juce::dsp::IIR::ArrayCoefficients<float>;

ShelfCoefficients::Ptr typicalShelf (bool low)
{
    auto coefficients = ShelfCoefficients::Ptr (new ShelfCoefficients (1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f));
    *coefficients = low ? ShelfDesign::makeLowShelf (sampleRate, 200.0f, 0.7071f, juce::Decibels::decibelsToGain (3.0f))
                        : ShelfDesign::makeHighShelf (sampleRate, 8000.0f, 0.7071f, juce::Decibels::decibelsToGain (2.0f));
    return coefficients;
}

struct JuceShelves : Contender
{
    void process (juce::AudioBuffer<float>& block) override
    {
        juce::dsp::AudioBlock<float> view (block);
        for (size_t band = 0; band < 2; ++band)
            for (size_t channel = 0; channel < numChannels; ++channel)
            {
                auto channelView = view.getSingleChannelBlock (channel);
                filters[band][channel].process (ReplacingContext (channelView));
            }
    }

    ShelfCoefficients::Ptr low = typicalShelf (true), high = typicalShelf (false);
    juce::dsp::IIR::Filter<float> filters[2][numChannels] { { { low }, { low } }, { { high }, { high } } };
};

struct OwnShelves : Contender
{
    void process (juce::AudioBuffer<float>& block) override
    {
        for (int band = 0; band < 2; ++band)
            processBiquadPair ((band == 0 ? low : high)->getRawCoefficients(), memories[band][0], memories[band][1],
                               block.getWritePointer (0), block.getWritePointer (1), block.getNumSamples());
    }

    ShelfCoefficients::Ptr low = typicalShelf (true), high = typicalShelf (false);
    BiquadMemory memories[2][numChannels];
};

struct Pair
{
    const char* name;
    std::function<std::unique_ptr<Contender>()> juce, kernel;
};

const Pair pairs[] = {
    { "reverb", [] { return std::make_unique<ReverbContender<juce::dsp::Reverb>>(); },
      [] { return std::make_unique<ReverbContender<ReverbKernel>>(); } },
    { "pre-delay line", [] { return std::make_unique<JucePreDelay>(); }, [] { return std::make_unique<RingPreDelay>(); } },
    { "echo line", [] { return std::make_unique<JuceEcho>(); }, [] { return std::make_unique<RingEcho>(); } },
    { "compressor", [] { return std::make_unique<JuceCompressor>(); }, [] { return std::make_unique<KernelCompressor>(); } },
    { "both shelves", [] { return std::make_unique<JuceShelves>(); }, [] { return std::make_unique<OwnShelves>(); } },
};

void runBlocks (benchmark::State& state, Contender& contender)
{
    const auto source = noiseBlock();
    auto block = source;

    for (auto _ : state)
    {
        block.makeCopyOf (source, true);
        contender.process (block);
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }
}

void juceObject (benchmark::State& state)
{
    const auto contender = pairs[state.range (0)].juce();
    runBlocks (state, *contender);
}

void ownKernel (benchmark::State& state)
{
    const auto contender = pairs[state.range (0)].kernel();
    runBlocks (state, *contender);
}

double threadSeconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double> (now.tv_sec) + 1.0e-9 * static_cast<double> (now.tv_nsec);
}

// Nanoseconds per block: the median of alternating rounds of one second of audio each.
double roundNs (Contender& contender, const juce::AudioBuffer<float>& source)
{
    constexpr int blocksPerRound = static_cast<int> (sampleRate) / blockSize;
    auto block = source;
    const auto begin = threadSeconds();
    for (int b = 0; b < blocksPerRound; ++b)
    {
        block.makeCopyOf (source, true);
        contender.process (block);
    }
    return 1.0e9 * (threadSeconds() - begin) / blocksPerRound;
}

void printTable (int rounds)
{
    const auto source = noiseBlock();
    std::printf ("\nEach kernel against the JUCE object it replaces (48 kHz stereo, %d-sample blocks, median of %d rounds)\n",
                 blockSize, rounds);
    std::printf ("%-16s %14s %14s %10s\n", "", "JUCE ns/blk", "own ns/blk", "speed-up");

    for (const auto& pair : pairs)
    {
        const auto juceObject = pair.juce();
        const auto kernel = pair.kernel();
        std::vector<double> juceTimes, kernelTimes;

        for (int round = 0; round < rounds; ++round)
        {
            juceTimes.push_back (roundNs (*juceObject, source));
            kernelTimes.push_back (roundNs (*kernel, source));
        }

        std::sort (juceTimes.begin(), juceTimes.end());
        std::sort (kernelTimes.begin(), kernelTimes.end());
        const auto juceNs = juceTimes[juceTimes.size() / 2], kernelNs = kernelTimes[kernelTimes.size() / 2];
        std::printf ("%-16s %14.0f %14.0f %9.2fx\n", pair.name, juceNs, kernelNs, juceNs / kernelNs);
    }

    std::printf ("A kernel is kept where it is at least 1.5x faster; the reverb's target is 1 / 0.35 = 2.86x.\n");
}
} // namespace

BENCHMARK (juceObject)->DenseRange (0, static_cast<int> (std::size (pairs)) - 1);
BENCHMARK (ownKernel)->DenseRange (0, static_cast<int> (std::size (pairs)) - 1);

int main (int argc, char** argv)
{
    juce::ScopedNoDenormals noDenormals;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printTable (15);
    return 0;
}
