#pragma once

#include "dsp/DelayTimeFade.h"
#include "dsp/DspTypes.h"
#include "dsp/Glide.h"
#include "dsp/QuietSpan.h"
#include "dsp/ReturnBuses.h"
#include "dsp/RingDelay.h"
#include "dsp/SpreadClear.h"

// The echo time of a division at a tempo: "Slap" 120 ms, "8th" half a beat, "Quarter" one beat;
// any other index is "Slap". A tempo that is not a number above 0 counts as 120 BPM; an infinite
// one gives 0 ms.
float divisionToMs (int divisionIndex, double bpm);

// The echo time in samples of the line: at least 1 (the line is read before it is written) and at
// most the line's maximum. A time that is not a number gives 1, never an integer made from NaN.
float echoDelayInSamples (float ms, double sampleRate, int maximumDelay);

struct EchoSettings
{
    bool enabled = true;
    int division = 0;
    float mix = 0.0f;      // 0..1
    float feedback = 0.35f; // 0..1
    double bpm = 120.0;

    bool operator== (const EchoSettings&) const = default;
};

// The feedback echo, fed from the send copy and added into the main buffer. Its level (the mix, or
// zero while switched off) and its feedback glide; a new time (division or tempo) crosses over
// between the old and the new read position. It runs while its level is above 0.01 % or still
// moving; otherwise its line waits, frozen. Starting and stopping, what it feeds its line fades in
// and out with its level, so the line holds no step to play back later.
class EchoStage
{
public:
    void prepare (const juce::dsp::ProcessSpec& spec);
    void setTargets (const EchoSettings& settings, bool jump) noexcept;
    void process (ReturnBuses& buses) noexcept;

    // For idling: whether the echo runs and its line still holds anything above -140 dBFS (it is
    // quiet once a line's length of quiet samples has entered it), and zeros for a quiet line.
    bool holdsSound() const noexcept;
    void clear() noexcept;

    // As clear, the zeros left to `later` to write over the blocks that follow (while nothing runs).
    void clear (SpreadClear& later) noexcept;

private:
    void processAtRest (ReturnBuses& buses) noexcept;
    void processWhileMoving (ReturnBuses& buses) noexcept;
    int longestRun (int remaining) const noexcept;
    void readRepeats (int channel, Glide& fade, float* repeats, int numSamples) noexcept;

    static constexpr int runCapacity = 256;

    RingDelay line;
    DelayTimeFade time;
    Glide level, feed, feedback;
    double sampleRate = 44100.0;
    QuietSpan memory;
    float repeatPeak = 0.0f; // the largest repeat read from the line in the last block
};
