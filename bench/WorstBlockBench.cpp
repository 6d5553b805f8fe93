// The worst block, not the average: per-block CPU time of one strip at typical settings through
// the events a session meets (idle entry, a wake, every switch, automation, a preset, a restore),
// at 32, 64 and 512-sample blocks and 48 and 96 kHz. Each scenario runs several times on a fresh
// strip fed the same samples; per block index the smallest time seen counts, so a preemption on a
// shared machine (which hits one run, not all) does not. It prints the median and worst block of
// each scenario against the median block of steady noise at the same rate and block size.
//
// Then many instances in one thread, block by block as a host runs them, and the memory each holds.

#include "bench/InstanceScaling.h"
#include "bench/TypicalSettings.h"
#include "plugin/FactoryPresets.h"
#include "plugin/ParamIDs.h"
#include "plugin/PresetLoading.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include <x86intrin.h>

namespace
{
struct Config
{
    double rate;
    int block;
};

// Cycles of the time-stamp counter, fenced so the block's own work is not reordered across it.
inline std::uint64_t cycles() noexcept
{
    _mm_lfence();
    const auto now = __rdtsc();
    _mm_lfence();
    return now;
}

double nanosecondsPerCycle()
{
    const auto wallStart = std::chrono::steady_clock::now();
    const auto start = cycles();
    while (std::chrono::steady_clock::now() - wallStart < std::chrono::milliseconds (200)) {}
    const auto elapsed = std::chrono::duration<double, std::nano> (std::chrono::steady_clock::now() - wallStart).count();
    return elapsed / static_cast<double> (cycles() - start);
}

void setNatural (VelbrinLumbraProcessor& processor, const juce::String& id, float value)
{
    auto* parameter = processor.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

float natural (VelbrinLumbraProcessor& processor, const juce::String& id)
{
    return processor.parameters.getRawParameterValue (id)->load();
}

// What feeds the strip, per block index of the measured stretch.
enum class Feed
{
    noise,
    silence,
    singleSampleAt10 // silence but one sample at the start of block 10
};

// One event sequence: set-up before the warm-up, what comes in, what happens between blocks.
struct Scenario
{
    std::string name;
    Feed feed = Feed::noise;
    double seconds = 0.3; // the measured stretch
    bool idleFirst = false; // the warm-up ends with silence long enough for the strip to idle
    std::function<void (VelbrinLumbraProcessor&, int block, const Config&)> beforeBlock;
    std::function<void (VelbrinLumbraProcessor&)> setUp; // after the typical settings, before preparing
    bool idleEntry = false; // judged against the idle-entry ceiling
};

Scenario named (std::string name, Feed feed = Feed::noise, double seconds = 0.3, bool idleFirst = false)
{
    Scenario scenario;
    scenario.name = std::move (name);
    scenario.feed = feed;
    scenario.seconds = seconds;
    scenario.idleFirst = idleFirst;
    return scenario;
}

struct Result
{
    double medianNs = 0, worstNs = 0;
    int worstBlock = 0, idleEntryBlock = -1;
    double entryNs = 0, worstFromEntryNs = 0; // the idle entry block, and the worst from it on
};

class Runner
{
public:
    Runner (Config config, int rounds, double nsPerCycle) : config (config), rounds (rounds), nsPerCycle (nsPerCycle)
    {
        noise.setSize (2, static_cast<int> (config.rate * 2.0));
        juce::Random random (11);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < noise.getNumSamples(); ++i)
                noise.setSample (channel, i, 0.25f * (2.0f * random.nextFloat() - 1.0f));
    }

    Result run (const Scenario& scenario)
    {
        const auto blocks = static_cast<int> (scenario.seconds * config.rate) / config.block;
        std::vector<double> fastest (static_cast<size_t> (blocks), 1.0e300);
        Result result;

        for (int round = 0; round < rounds; ++round)
        {
            VelbrinLumbraProcessor processor;
            TypicalSettings().applyTo (processor);
            if (scenario.setUp)
                scenario.setUp (processor);
            processor.prepareToPlay (config.rate, config.block);
            warmUp (processor, scenario.idleFirst);

            juce::AudioBuffer<float> block (2, config.block);
            juce::MidiBuffer midi;
            auto wasIdle = processor.idling.load();

            for (int index = 0; index < blocks; ++index)
            {
                fill (block, scenario.feed, index);
                if (scenario.beforeBlock)
                    scenario.beforeBlock (processor, index, config);

                const auto begin = cycles();
                processor.processBlock (block, midi);
                const auto spent = static_cast<double> (cycles() - begin) * nsPerCycle;
                fastest[static_cast<size_t> (index)] = std::min (fastest[static_cast<size_t> (index)], spent);

                const auto idle = processor.idling.load();
                if (idle && ! wasIdle && result.idleEntryBlock < 0)
                    result.idleEntryBlock = index;
                wasIdle = idle;
            }
        }

        auto sorted = fastest;
        std::sort (sorted.begin(), sorted.end());
        result.medianNs = sorted[sorted.size() / 2];
        const auto worst = std::max_element (fastest.begin(), fastest.end());
        result.worstNs = *worst;
        result.worstBlock = static_cast<int> (worst - fastest.begin());
        if (result.idleEntryBlock >= 0)
        {
            result.entryNs = fastest[static_cast<size_t> (result.idleEntryBlock)];
            result.worstFromEntryNs = *std::max_element (fastest.begin() + result.idleEntryBlock, fastest.end());
        }
        return result;
    }

private:
    void warmUp (VelbrinLumbraProcessor& processor, bool untilIdle)
    {
        juce::AudioBuffer<float> block (2, config.block);
        juce::MidiBuffer midi;
        const auto noiseBlocks = static_cast<int> (config.rate) / config.block;

        for (int index = 0; index < noiseBlocks; ++index)
        {
            fill (block, Feed::noise, index);
            processor.processBlock (block, midi);
        }

        // Silence until the strip idles, then a second more, so whatever follows idle entry settles.
        for (int index = 0; untilIdle && index < static_cast<int> (config.rate * 12.0) / config.block; ++index)
        {
            block.clear();
            processor.processBlock (block, midi);
        }
    }

    void fill (juce::AudioBuffer<float>& block, Feed feed, int index) const
    {
        if (feed != Feed::noise)
        {
            block.clear();
            if (feed == Feed::singleSampleAt10 && index == 10)
                block.setSample (0, 0, 0.5f);
            return;
        }

        const auto start = (index * config.block) % (noise.getNumSamples() - config.block);
        for (int channel = 0; channel < 2; ++channel)
            block.copyFrom (channel, 0, noise, channel, start, config.block);
    }

    Config config;
    int rounds;
    double nsPerCycle;
    juce::AudioBuffer<float> noise;
};

// A switch flipped to its other state (a choice to its next entry), then back 40 ms later.
Scenario switchToggled (const juce::String& id, float other)
{
    auto scenario = named ("toggle " + id.toStdString(), Feed::noise, 0.15);
    scenario.beforeBlock = [id, other, original = -1.0f] (VelbrinLumbraProcessor& processor, int block,
                                                          const Config& config) mutable
    {
        const auto back = 8 + static_cast<int> (0.04 * config.rate) / config.block;
        if (block == 8)
        {
            original = natural (processor, id);
            setNatural (processor, id, other);
        }
        else if (block == back)
        {
            setNatural (processor, id, original);
        }
    };
    return scenario;
}

// Every continuous parameter a step up or down in turn before every block, written where the
// audio thread reads them.
void nudgeContinuous (VelbrinLumbraProcessor& processor, int block)
{
    const TypicalSettings typical;
    const auto step = block % 2 == 0 ? 1.0f : -1.0f;
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

std::vector<Scenario> scenarios()
{
    std::vector<Scenario> list;
    list.push_back (named ("steady noise"));

    auto idle = named ("noise, then silence to idle entry", Feed::silence, 9.0);
    idle.idleEntry = true;
    list.push_back (idle);

    list.push_back (named ("idle, woken by a single sample", Feed::singleSampleAt10, 0.2, true));

    const std::pair<const juce::String*, float> switches[] = {
        { &ParamIDs::bypass, 1.0f },        { &ParamIDs::lowEnabled, 0.0f },    { &ParamIDs::highEnabled, 0.0f },
        { &ParamIDs::compEnabled, 0.0f },   { &ParamIDs::spaceAEnabled, 0.0f }, { &ParamIDs::spaceBEnabled, 0.0f },
        { &ParamIDs::echoEnabled, 0.0f },   { &ParamIDs::lowMode, 1.0f },       { &ParamIDs::highMode, 1.0f },
        { &ParamIDs::compMode, 1.0f },      { &ParamIDs::spaceAType, 2.0f },    { &ParamIDs::spaceBType, 1.0f },
        { &ParamIDs::echoDivision, 2.0f },  { &ParamIDs::spaceAPreDelaySync, 1.0f },
        { &ParamIDs::spaceBPreDelaySync, 1.0f }, { &ParamIDs::compOversample, 1.0f }, { &ParamIDs::compOversample, 2.0f },
    };
    for (const auto& [id, other] : switches)
    {
        auto toggle = switchToggled (*id, other);
        if (*id == ParamIDs::compOversample)
            toggle.name += other == 1.0f ? " (2x)" : " (4x)";
        list.push_back (toggle);
    }

    // Woken by playing, then asked for the longest synced pre-delay (a dotted quarter), which reads
    // further back than the idle strip had cleared.
    auto longer = named ("idle, then a longer synced pre-delay while playing", Feed::noise, 0.2, true);
    longer.beforeBlock = [] (VelbrinLumbraProcessor& processor, int block, const Config&)
    {
        if (block != 8)
            return;
        setNatural (processor, ParamIDs::spaceAPreDelaySync, 1.0f);
        setNatural (processor, ParamIDs::spaceAPreDelay, 500.0f);
    };
    list.push_back (longer);

    auto automated = named ("every continuous parameter automated every block");
    automated.beforeBlock = [] (VelbrinLumbraProcessor& processor, int block, const Config&) { nudgeContinuous (processor, block); };
    list.push_back (automated);

    // Every factory preset in turn, one every 30 ms, while playing.
    auto presets = named ("each factory preset loaded while playing");
    presets.seconds = 0.03 * static_cast<double> (factoryPresets().size()) + 0.05;
    presets.beforeBlock = [] (VelbrinLumbraProcessor& processor, int block, const Config& config)
    {
        const auto every = juce::jmax (1, static_cast<int> (0.03 * config.rate) / config.block);
        const auto index = static_cast<size_t> (block / every);
        if (block % every == 4 % every && index < factoryPresets().size())
            loadPreset (processor, factoryPresets()[index].setting);
    };
    list.push_back (presets);

    // A state saved with another sound restored between two blocks, and the typical one after.
    auto restore = named ("state restored between two blocks", Feed::noise, 0.15);
    restore.beforeBlock = [saved = juce::MemoryBlock(), typical = juce::MemoryBlock()] (VelbrinLumbraProcessor& processor, int block, const Config& config) mutable
    {
        if (block == 0)
        {
            processor.getStateInformation (typical);
            VelbrinLumbraProcessor other;
            loadPreset (other, factoryPresets().back().setting);
            other.getStateInformation (saved);
        }
        if (block == 8)
            processor.setStateInformation (saved.getData(), static_cast<int> (saved.getSize()));
        if (block == 8 + static_cast<int> (0.05 * config.rate) / config.block)
            processor.setStateInformation (typical.getData(), static_cast<int> (typical.getSize()));
    };
    list.push_back (restore);
    return list;
}

void printConfig (const Config& config, int rounds, double nsPerCycle, const std::string& only, double& worstRatioSeen,
                  double& idleRatioSeen, double& automatedRatio)
{
    Runner runner (config, rounds, nsPerCycle);
    auto list = scenarios();
    // Steady noise stays first whatever is picked: every ratio is taken against it.
    list.erase (std::remove_if (list.begin() + 1, list.end(), [&only] (const Scenario& s) { return s.name.find (only) == std::string::npos; }),
                list.end());
    std::vector<Result> results;
    for (const auto& scenario : list)
        results.push_back (runner.run (scenario));

    const auto steady = results.front().medianNs;
    std::printf ("\n%.0f kHz, %d-sample blocks (%.0f ns of audio per block); smallest of %d runs per block\n",
                 config.rate / 1000.0, config.block, 1.0e9 * config.block / config.rate, rounds);
    std::printf ("%-52s %10s %10s %8s %10s\n", "scenario", "median ns", "worst ns", "at block", "worst/steady");

    for (size_t i = 0; i < list.size(); ++i)
    {
        const auto& r = results[i];
        const auto ratio = r.worstNs / steady;
        std::printf ("%-52s %10.0f %10.0f %8d %9.2fx", list[i].name.c_str(), r.medianNs, r.worstNs, r.worstBlock, ratio);
        if (list[i].idleEntry)
            std::printf ("\n%-52s %10.0f %10.0f %8d %9.2fx  (the entry block %.0f ns)", "  from idle entry on", 0.0,
                         r.worstFromEntryNs, r.idleEntryBlock, r.worstFromEntryNs / steady, r.entryNs);
        std::printf ("\n");

        if (list[i].idleEntry)
            idleRatioSeen = std::max (idleRatioSeen, r.worstFromEntryNs / steady);
        else if (list[i].name.rfind ("every continuous", 0) == 0)
            automatedRatio = std::max (automatedRatio, ratio);
        else
            worstRatioSeen = std::max (worstRatioSeen, ratio);
    }
}
// Each factory preset loaded while playing the one before it (the first after the typical
// settings), against the steady cost of the two settings it moves between: a preset that turns on
// more of the strip costs more for good, which is no spike.
void printPresetLoads (const Config& config, int rounds, double nsPerCycle, double& worstRatioSeen)
{
    Runner runner (config, rounds, nsPerCycle);
    const auto& presets = factoryPresets();
    const auto steadyAt = [&runner] (const PresetSetting* setting)
    {
        auto steady = named ("steady");
        if (setting != nullptr)
            steady.setUp = [setting] (VelbrinLumbraProcessor& processor) { loadPreset (processor, *setting); };
        return runner.run (steady).medianNs;
    };

    std::printf ("\n%.0f kHz, %d-sample blocks: each factory preset loaded while the one before plays\n", config.rate / 1000.0,
                 config.block);
    std::printf ("%-24s %12s %12s %10s %10s\n", "preset", "steady from", "steady to", "worst ns", "worst/both");

    auto from = steadyAt (nullptr);
    for (size_t i = 0; i < presets.size(); ++i)
    {
        const auto* previous = i == 0 ? nullptr : &presets[i - 1].setting;
        const auto* next = &presets[i].setting;
        const auto to = steadyAt (next);

        auto load = named ("load", Feed::noise, 0.1);
        if (previous != nullptr)
            load.setUp = [previous] (VelbrinLumbraProcessor& processor) { loadPreset (processor, *previous); };
        load.beforeBlock = [next] (VelbrinLumbraProcessor& processor, int block, const Config&)
        {
            if (block == 8)
                loadPreset (processor, *next);
        };
        const auto worst = runner.run (load).worstNs;
        const auto ratio = worst / std::max (from, to);
        std::printf ("%-24s %12.0f %12.0f %10.0f %9.2fx\n", next->name.toRawUTF8(), from, to, worst, ratio);
        worstRatioSeen = std::max (worstRatioSeen, ratio);
        from = to;
    }
}
} // namespace

// `--quick` runs 32 and 64-sample blocks at 48 kHz only; `--instances` only the instance scaling and
// memory; `--only TEXT` only the scenarios whose names hold TEXT (and steady noise).
int main (int argc, char** argv)
{
    const auto only = [argc, argv]
    {
        for (int i = 1; i + 1 < argc; ++i)
            if (std::string (argv[i]) == "--only")
                return std::string (argv[i + 1]);
        return std::string();
    }();
    juce::ScopedJuceInitialiser_GUI juce;
    const auto has = [argc, argv] (const char* option) { return std::find_if (argv, argv + argc, [option] (const char* a) { return std::string (a) == option; }) != argv + argc; };
    const auto nsPerCycle = nanosecondsPerCycle();

    if (! has ("--instances"))
    {
        constexpr int rounds = 5;
        double worstRatio = 0, idleRatio = 0, automatedRatio = 0;
        const std::vector<Config> configs = has ("--quick") ? std::vector<Config> { { 48000.0, 32 }, { 48000.0, 64 } }
                                                            : std::vector<Config> { { 48000.0, 32 }, { 48000.0, 64 }, { 48000.0, 512 },
                                                                                    { 96000.0, 32 }, { 96000.0, 64 }, { 96000.0, 512 } };
        double presetRatio = 0;
        for (const auto& config : configs)
        {
            printConfig (config, rounds, nsPerCycle, only, worstRatio, idleRatio, automatedRatio);
            if (only.empty() || has ("--presets"))
                printPresetLoads (config, rounds, nsPerCycle, presetRatio);
        }

        std::printf ("\nLargest worst/steady: events %.2fx (ceiling 2.0x), idle entry %.2fx (ceiling 1.5x), automation %.2fx, "
                     "a preset against the steady cost of both its settings %.2fx\n",
                     worstRatio, idleRatio, automatedRatio, presetRatio);
    }

    if (! has ("--quick"))
        printInstanceScaling (nsPerCycle);
    return 0;
}
