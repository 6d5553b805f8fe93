#pragma once

#include <vector>

// One doubling of the sample rate and back: a linear-phase half-band lowpass (JUCE's equiripple
// design) run as its two polyphase branches. Half its taps are zero and the rest come in mirrored
// pairs, so a sample costs a quarter of the filter's length; four outputs are worked out side by
// side in one SSE register, sixteen at a time where the block allows.
//
// Up: each input sample x[n] gives two outputs, the filtered one and x[n - K] itself (the centre
// tap), `upDelay()` samples of the doubled rate late. Down: keeps one of every two filtered samples,
// the even ones (phase 0) or the odd ones (phase 1), `downDelay()` samples of the doubled rate late.
class HalfBandStage
{
public:
    // Transition widths relative to the doubled rate, stopbands in dB (negative). Allocates.
    HalfBandStage (float upTransition, float upStopbandDb, float downTransition, float downStopbandDb);

    void prepare (int numChannels, int maximumInputSamples);
    void reset() noexcept;

    // numSamples in, 2 x numSamples out.
    void up (int channel, const float* input, float* output, int numSamples) noexcept;
    // 2 x numSamples in, numSamples out.
    void down (int channel, const float* input, float* output, int numSamples) noexcept;

    int upDelay() const noexcept { return 2 * upFilter.half + 1; }
    int downDelay() const noexcept { return 2 * downFilter.half + 1; }
    void setDownPhase (int phase) noexcept { downPhase = phase; }

private:
    // The non-zero taps of one branch: 2 half + 2 of them, mirrored, so the first half + 1 are kept.
    struct Branch
    {
        std::vector<float> taps;
        int half = 0;
        int history() const noexcept { return 2 * half + 1; }
    };

    static Branch design (float transition, float stopbandDb, float gain);

    // y[n] = sum over i of taps[i] (x[n - i] + x[n - 2 half - 1 + i]), with x[n] at line[history + n].
    static void filter (const Branch& branch, const float* line, float* y, int numSamples) noexcept;

    // After a block: the line's last `history` samples become the first, for the next block.
    static void keepHistory (std::vector<float>& line, int history, int numSamples) noexcept;

    Branch upFilter, downFilter;
    std::vector<std::vector<float>> upLines, evenLines, oddLines;
    std::vector<float> scratch;
    int downPhase = 0;
};
