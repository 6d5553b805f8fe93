// processBlock cost at 48 kHz stereo for small and large blocks. The real-time factor is seconds of
// audio processed per CPU second: 100 means one instance uses 1 % of a core.

#include "plugin/PluginProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

namespace
{
constexpr double sampleRate = 48000.0;

void fillWithNoise (juce::AudioBuffer<float>& buffer)
{
    juce::Random random (7);
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (channel, i, 0.25f * (2.0f * random.nextFloat() - 1.0f));
}

void processBlockAtDefaults (benchmark::State& state)
{
    const auto blockSize = static_cast<int> (state.range (0));
    VelbrinLumbraProcessor processor;
    processor.prepareToPlay (sampleRate, blockSize);

    juce::AudioBuffer<float> source (2, blockSize), buffer (2, blockSize);
    fillWithNoise (source);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        buffer.makeCopyOf (source, true);
        processor.processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

    const auto audioSeconds = static_cast<double> (state.iterations()) * blockSize / sampleRate;
    state.counters["realtime_x"] = benchmark::Counter (audioSeconds, benchmark::Counter::kIsRate);
}
} // namespace

BENCHMARK (processBlockAtDefaults)->Arg (32)->Arg (64)->Arg (512)->MeasureProcessCPUTime()->UseRealTime();

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
