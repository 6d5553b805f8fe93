#pragma once

#include "dsp/DelayTimeFade.h"
#include "dsp/DspTypes.h"
#include "dsp/RingDelay.h"
#include "dsp/QuietSpan.h"
#include "dsp/SpreadClear.h"

// A space's pre-delay. At 0.01 ms or less the line is left alone: neither fed nor read, its
// contents kept for later. A new time crosses over from the old one, the undelayed signal counting
// as a time of zero. The line holds the longest synced note value at the slowest tempo (4.5 s);
// longer times are held there.
class PreDelay
{
public:
    void prepare (const juce::dsp::ProcessSpec& spec);
    void setTarget (float milliseconds, bool jump) noexcept;
    void setTargetSeconds (double seconds, bool jump) noexcept;
    void process (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;

    // For idling, before process: the peak of what the block feeds the line (counted only if the
    // line is fed). The line is quiet once it has taken as many quiet samples as the longest time
    // asked of it since it was last cleared (at least 0.6 s), and is then cleared to zeros on request.
    void noteFeed (float peak, int numSamples) noexcept;
    bool isQuiet() const noexcept { return memory.isQuiet(); }
    void clear() noexcept;

    // As clear, the zeros left to `later` to write over the blocks that follow (while nothing runs).
    void clear (SpreadClear& later) noexcept;

private:
    void setDelay (float delaySamples, bool jump) noexcept;
    void clearStaleBefore (float delay) noexcept;
    void zeroStaleAhead (int numSamples) noexcept;
    void noteWritten (int numSamples) noexcept;
    void crossfadeTimes (juce::AudioBuffer<float>& buffer, int numChannels, int numSamples) noexcept;
    void readOrPass (int channel, float delay, const float* input, float* output, int numSamples) const noexcept;
    int quietSpanFor (float delay) const noexcept;

    RingDelay line;
    DelayTimeFade time;
    double sampleRate = 44100.0;
    float lastAsked = 0.0f; // the last time handed to `time`, in samples
    int fresh = 0; // samples before the position cleared or written since the line was last cleared

    // Samples older than `fresh` once was, still to be zeroed just before a longer time reads them:
    // from `staleNewest` back to `staleOldest` before the position (none while newest > oldest).
    int staleNewest = 1, staleOldest = 0;
    QuietSpan memory;
};
