#pragma once

#include "dsp/DspTypes.h"
#include "dsp/LineMemory.h"
#include "dsp/SpreadClear.h"

#include <array>
#include <xmmintrin.h>
#include <vector>

// The space's reverb: eight damped combs in parallel and four allpasses in series per channel,
// with the tunings, stereo spread, damping, feedback and gains of juce::Reverb, and the same 10 ms
// glides of its damping, feedback and gains after each change. It computes the very same
// arithmetic in the same order, sample for sample, but a run of samples at a time: every comb and
// allpass is longer than such a run, so what each one reads in it was written before it started.
// That leaves only the combs' damping filters running sample by sample, four combs at once in
// one SSE2 register.
class ReverbKernel
{
public:
    using Parameters = juce::Reverb::Parameters;

    ReverbKernel();

    // Glides the gains, damping and feedback to the new targets over 10 ms; the input gain and
    // freezing change at once.
    void setParameters (const Parameters& newParameters) noexcept;

    // Sizes the lines for the sample rate (allocates), clears them, and sets the gains, damping
    // and feedback to their targets at once.
    void prepare (const juce::dsp::ProcessSpec& spec);
    void reset() noexcept;

    // As reset, but the lines are handed to `later` to be zeroed over the blocks that follow.
    void reset (SpreadClear& later) noexcept;

    // In place: mono (one channel) or stereo (two); any other channel count is left as it is.
    void process (const ReplacingContext& context) noexcept;
    void processStereo (float* left, float* right, int numSamples) noexcept;
    void processMono (float* samples, int numSamples) noexcept;

    // For parameters handed anew before every sample (a room steered along a curve): after each
    // hand-over, `takeGlideStep (i)` takes the glides' values for sample i of the coming run, as
    // processing that one sample would; `processStereoStepped` then runs those samples at once,
    // with the same arithmetic as one sample at a time. A run is at most `longestRunLength()`.
    void takeGlideStep (int i) noexcept;
    void processStereoStepped (float* left, float* right, int numSamples) noexcept;
    int longestRunLength() const noexcept { return longestRun; }

private:
    static constexpr int numCombs = 8, numAllPasses = 4, maximumRun = 128;

    // Four floats more than a line holds: whole registers may read past a run's end.
    static constexpr int padding = 4;

    struct Line
    {
        float* data = nullptr; // in `lineMemory`
        int size = 0, index = 0;

        // The run's samples in place where they do not wrap around, else copied into `scratch`.
        float* borrow (float* scratch, int numSamples) noexcept
        {
            if (index + numSamples <= size)
                return data + index;

            copyWrapped (data + index, scratch, data, scratch + (size - index), numSamples);
            return scratch;
        }

        // Writes a copied run back, and moves on (a run is never longer than the line).
        void giveBack (const float* run, int numSamples) noexcept
        {
            if (run != data + index)
                copyWrapped (run, data + index, run + (size - index), data, numSamples);

            index += numSamples;
            if (index >= size)
                index -= size;

            // The next run's first samples were last touched a whole line ago, out of the nearest
            // cache by now; with a host's small blocks each run would otherwise start by waiting on them.
            _mm_prefetch (reinterpret_cast<const char*> (data + index), _MM_HINT_T0);
            _mm_prefetch (reinterpret_cast<const char*> (data + juce::jmin (index + 16, size)), _MM_HINT_T0);
        }

        // The part of a run up to the line's end, then the rest from its start.
        void copyWrapped (const float* first, float* firstTo, const float* rest, float* restTo, int numSamples) const noexcept;
    };

    struct Glides
    {
        juce::SmoothedValue<float> damping, feedback, dry, wet1, wet2;
    };

    void sizeLines (double sampleRate);
    int runLength (int remaining) const noexcept { return juce::jmin (remaining, longestRun); }
    void takeInput (const float* l, const float* r, int numSamples) noexcept;
    void mixStereo (float* l, float* r, int numSamples) const noexcept;
    void fillGlides (int numSamples, bool stereo) noexcept;
    void runCombs (int numChannels, int numSamples) noexcept;
    static void sumCombs (float* const* outputs, float* sum, int numSamples) noexcept;
    template <int numGroups>
    void dampCombs (int numSamples) noexcept;
    void runAllPasses (int channel, float* signal, int numSamples) noexcept;

    Parameters parameters;
    bool parametersTaken = false;
    float gain = 0.015f;
    Glides glides;
    bool glideRowsAtTargets = false; // the rows below hold the glides' targets for a whole run
    int longestRun = maximumRun; // no longer than the shortest line
    std::array<std::array<Line, numCombs>, 2> combs;
    std::array<std::array<Line, numAllPasses>, 2> allPasses;
    LineMemory lineMemory; // every line, one after another
    alignas (16) float lastOfComb[2 * numCombs] {};

    // One run of each comb: in place, or a copy where it wraps around.
    float* combRows[2 * numCombs] {};
    alignas (16) float combRun[2 * numCombs][maximumRun] {};
    alignas (16) float lineRun[maximumRun] {};
    alignas (16) float input[maximumRun] {};
    alignas (16) float wetL[maximumRun] {};
    alignas (16) float wetR[maximumRun] {};
    alignas (16) float damping[maximumRun] {};
    alignas (16) float feedback[maximumRun] {};
    alignas (16) float dry[maximumRun] {};
    alignas (16) float wet1[maximumRun] {};
    alignas (16) float wet2[maximumRun] {};
};
