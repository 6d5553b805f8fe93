#include "dsp/HalfBandStage.h"

#include <juce_dsp/juce_dsp.h>

#include <emmintrin.h>

HalfBandStage::HalfBandStage (float upTransition, float upStopbandDb, float downTransition, float downStopbandDb)
    : upFilter (design (upTransition, upStopbandDb, 2.0f)),   // zeros stuffed between samples halve the level
      downFilter (design (downTransition, downStopbandDb, 1.0f))
{
}

// JUCE's half-band design has 4K + 3 taps around a centre of 0.5 at 2K + 1; the taps at even
// indices are the branch, the odd ones are zero but for the centre.
HalfBandStage::Branch HalfBandStage::design (float transition, float stopbandDb, float gain)
{
    const auto coefficients = juce::dsp::FilterDesign<float>::designFIRLowpassHalfBandEquirippleMethod (transition, stopbandDb);
    const auto* h = coefficients->getRawCoefficients();
    const auto length = static_cast<int> (coefficients->getFilterOrder()) + 1;

    Branch branch;
    branch.half = (length - 3) / 4;
    for (int i = 0; i <= branch.half; ++i)
        branch.taps.push_back (gain * h[2 * i]);
    return branch;
}

void HalfBandStage::prepare (int numChannels, int maximumInputSamples)
{
    auto lines = [numChannels] (int length) { return std::vector<std::vector<float>> (static_cast<size_t> (numChannels), std::vector<float> (static_cast<size_t> (length), 0.0f)); };
    upLines = lines (upFilter.history() + maximumInputSamples);
    evenLines = lines (downFilter.history() + maximumInputSamples);
    oddLines = lines (downFilter.history() + maximumInputSamples);
    scratch.assign (static_cast<size_t> (maximumInputSamples), 0.0f);
}

// Only the history a block reads before its own input: the rest of each line is written by the
// next block before anything reads it.
void HalfBandStage::reset() noexcept
{
    const auto clearHistory = [] (std::vector<std::vector<float>>& lines, int history)
    {
        for (auto& line : lines)
            std::fill_n (line.begin(), juce::jmin (static_cast<size_t> (history), line.size()), 0.0f);
    };

    clearHistory (upLines, upFilter.history());
    clearHistory (evenLines, downFilter.history());
    clearHistory (oddLines, downFilter.history());
}

void HalfBandStage::keepHistory (std::vector<float>& line, int history, int numSamples) noexcept
{
    std::copy (line.begin() + numSamples, line.begin() + numSamples + history, line.begin());
}

void HalfBandStage::up (int channel, const float* input, float* output, int numSamples) noexcept
{
    auto& line = upLines[static_cast<size_t> (channel)];
    const auto history = upFilter.history();
    std::copy_n (input, numSamples, line.data() + history);

    auto* filtered = scratch.data();
    filter (upFilter, line.data(), filtered, numSamples);
    const auto* centre = line.data() + history - upFilter.half;

    for (int n = 0; n < numSamples; ++n)
    {
        output[2 * n] = filtered[n];
        output[2 * n + 1] = centre[n];
    }

    keepHistory (line, history, numSamples);
}

// Phase 0: y[n] = branch over the even inputs + 0.5 x the odd input K + 1 back; phase 1 the
// other way round, the centre K back.
void HalfBandStage::down (int channel, const float* input, float* output, int numSamples) noexcept
{
    auto& even = evenLines[static_cast<size_t> (channel)];
    auto& odd = oddLines[static_cast<size_t> (channel)];
    const auto history = downFilter.history();
    auto* e = even.data() + history;
    auto* o = odd.data() + history;

    for (int n = 0; n < numSamples; ++n)
    {
        e[n] = input[2 * n];
        o[n] = input[2 * n + 1];
    }

    const auto& branchLine = downPhase == 0 ? even : odd;
    const auto* centre = downPhase == 0 ? o - downFilter.half - 1 : e - downFilter.half;
    filter (downFilter, branchLine.data(), output, numSamples);

    for (int n = 0; n < numSamples; ++n)
        output[n] += 0.5f * centre[n];

    keepHistory (even, history, numSamples);
    keepHistory (odd, history, numSamples);
}

namespace
{
// Four outputs, y[n .. n + 3], from the mirrored tap pairs.
inline __m128 fourOutputs (const float* taps, int half, const float* newer, const float* older) noexcept
{
    auto sum = _mm_setzero_ps();
    for (int i = 0; i <= half; ++i)
        sum = _mm_add_ps (sum, _mm_mul_ps (_mm_set1_ps (taps[i]), _mm_add_ps (_mm_loadu_ps (newer - i), _mm_loadu_ps (older + i))));
    return sum;
}
} // namespace

void HalfBandStage::filter (const Branch& branch, const float* line, float* y, int numSamples) noexcept
{
    const auto* taps = branch.taps.data();
    const auto half = branch.half;
    const auto* newest = line + branch.history(); // x[n - i] = newest[n - i], x[n - 2 half - 1 + i] = line[n + i]
    int n = 0;

    // Sixteen at a time: four independent sums keep the adder busy.
    for (; n + 16 <= numSamples; n += 16)
    {
        auto s0 = _mm_setzero_ps(), s1 = _mm_setzero_ps(), s2 = _mm_setzero_ps(), s3 = _mm_setzero_ps();
        for (int i = 0; i <= half; ++i)
        {
            const auto tap = _mm_set1_ps (taps[i]);
            const auto* a = newest + n - i;
            const auto* b = line + n + i;
            s0 = _mm_add_ps (s0, _mm_mul_ps (tap, _mm_add_ps (_mm_loadu_ps (a), _mm_loadu_ps (b))));
            s1 = _mm_add_ps (s1, _mm_mul_ps (tap, _mm_add_ps (_mm_loadu_ps (a + 4), _mm_loadu_ps (b + 4))));
            s2 = _mm_add_ps (s2, _mm_mul_ps (tap, _mm_add_ps (_mm_loadu_ps (a + 8), _mm_loadu_ps (b + 8))));
            s3 = _mm_add_ps (s3, _mm_mul_ps (tap, _mm_add_ps (_mm_loadu_ps (a + 12), _mm_loadu_ps (b + 12))));
        }
        _mm_storeu_ps (y + n, s0);
        _mm_storeu_ps (y + n + 4, s1);
        _mm_storeu_ps (y + n + 8, s2);
        _mm_storeu_ps (y + n + 12, s3);
    }

    for (; n + 4 <= numSamples; n += 4)
        _mm_storeu_ps (y + n, fourOutputs (taps, half, newest + n, line + n));

    for (; n < numSamples; ++n)
    {
        auto sum = 0.0f;
        for (int i = 0; i <= half; ++i)
            sum += taps[i] * (newest[n - i] + line[n + i]);
        y[n] = sum;
    }
}
