#pragma once

#include "dsp/DelayTimeFade.h"
#include "dsp/RingDelay.h"

// The untouched input held back by the chain's latency, so that the bypass path lines up with the
// processed one to the sample. The delay is whole samples; a new one crosses over from the old in
// 20 ms (both read from the one line), so the bypassed sound never jumps. The line is fed only
// while some latency is asked for; at none it costs nothing and the input passes as it is.
class LatencyDelay
{
public:
    void prepare (int numChannels, int maximumDelay, double sampleRate);
    void setTarget (int samples, bool jump) noexcept;

    // Whether the line is needed this block: a latency or a crossover between two.
    bool isActive() const noexcept { return time.isFading() || time.current() > 0.0f || time.next() > 0.0f; }

    // Delays the block in place.
    void process (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;

    // Takes the block into the line without reading it, so the line holds the latest input when
    // the bypass path is next heard.
    void feed (const juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;

private:
    void crossfadeDelays (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;

    RingDelay line;
    DelayTimeFade time;
    bool fed = false; // whether the line took the last block: one that was not fed holds old sound
};
