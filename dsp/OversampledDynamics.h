#pragma once

#include "dsp/DynamicsStage.h"
#include "dsp/Resampler.h"

#include <array>
#include <memory>

// The dynamics stage at the host rate ("Off") or at two or four times it ("2x", "4x"), between an
// up- and a down-sampler. A fast compressor's gain changes carry harmonics far above the audio;
// at the host rate they fold back into the audible band, at a higher rate they are filtered off
// before coming down. The resamplers are linear-phase half-band filters, so the stage's output is
// the host-rate result delayed by a whole number of samples (its latency), at every frequency
// alike: the bypass and every later path line up with it by a plain delay.
//
// Each setting has its own stage. A new setting crosses over in 20 ms from the stage that ran to
// the one that takes over, which starts from the envelope the other had; a setting asked for
// during a crossover waits for it to end. While the setting rests, only its own stage runs.
class OversampledDynamics
{
public:
    static constexpr int numSettings = 3;

    // Designs the resamplers (two channels, as the chain always runs), so the latencies are known
    // before preparing.
    OversampledDynamics();

    // Allocates every setting's stage and resamplers.
    void prepare (const juce::dsp::ProcessSpec& spec);
    void setTargets (const DynamicsSettings& settings, bool jump) noexcept;

    // As DynamicsStage::process: `scratch` is a host-rate buffer the stage may use while it
    // crosses over. Returns the block's largest gain reduction in dB.
    float process (juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
                   int numSamples) noexcept;

    // The delay a setting adds, in whole host samples (0 for "Off"). The same at every rate.
    int latencyOf (int setting) const noexcept;

    // The setting heard once any crossover ends, and its latency.
    int currentSetting() const noexcept { return active; }
    int currentLatency() const noexcept { return latencyOf (active); }

    bool holdsSound() const noexcept;
    void clear() noexcept;

    // Whether a character or a setting asked for waits for a crossover to end.
    bool awaitsChange() const noexcept;

    // The chain rests (in bypass) and skips this stage: the resamplers' memories grow stale, and
    // the next block starts them afresh.
    void pause() noexcept { paused = true; }

private:
    struct Path
    {
        DynamicsStage stage;
        std::unique_ptr<Resampler> resampler; // none at the host rate
        juce::AudioBuffer<float> scratch; // the stage's crossover copy at its own rate
        juce::AudioBuffer<float> fadingInput; // the first samples after a fresh start, faded in
        int factor = 1;
        int freshSamples = 0; // how far the fade-in after a fresh start has come
        bool resamplerUsed = false; // its memories may hold samples: it has run since its last reset
    };

    // Resamplers started from empty memories see the signal begin with a step, which their
    // filters would ring at: the first `fadeInSamples` are faded in instead. The path is heard
    // only through a 20 ms crossover then, which has barely begun.
    static constexpr int fadeInSamples = 64;

    float run (Path& path, juce::AudioBuffer<float>& buffer, juce::AudioBuffer<float>& scratch, int numChannels,
               int numSamples) noexcept;
    float runResampled (Path& path, juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;
    void startCrossover (int setting, const DynamicsSettings& settings) noexcept;
    static void restart (Path& path) noexcept;
    static const float* fadedIn (Path& path, int channel, const float* input, int numSamples) noexcept;

    std::array<Path, numSettings> paths;
    Glide crossover; // 0: all `outgoing`, 1: all `active`
    juce::AudioBuffer<float> outgoingBuffer;
    int active = 0, outgoing = -1, wanted = 0, maximumBlock = 1;
    bool paused = false;
};

// A setting index as the chain reads it; anything outside the list runs at the host rate.
inline int oversamplingSetting (int index) noexcept
{
    return index >= 0 && index < OversampledDynamics::numSettings ? index : 0;
}
