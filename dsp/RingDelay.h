#pragma once

#include "dsp/LineMemory.h"
#include "dsp/SampleCopy.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <emmintrin.h>
#include <vector>

// A delay line read and written a run of samples at a time, with the same linear interpolation as
// juce::dsp::DelayLine (v1 + frac (v2 - v1), v1 the sample `floor (delay)` back and v2 the one
// before it), applied only where the delay has a fraction: a whole-sample delay is a plain copy.
// Each channel has a position that `advance` moves on; `write` puts samples at the position and
// after it, `read` takes them `delay` samples back from the same places. Writing a run before
// reading it is the JUCE line's push-then-pop (a delay of 0 is the input itself); reading first is
// its pop-then-push, whose runs must be no longer than the delay, so a feedback loop reads only
// what came before the run.
class RingDelay
{
public:
    // Longest run `write` and `read` take at once.
    static constexpr int maximumRun = 1024;

    // Allocates; at least 3 samples of delay, as JUCE's line.
    void prepare (int numChannels, int maximumDelayInSamples)
    {
        maximumDelay = juce::jmax (3, maximumDelayInSamples);
        size = static_cast<std::uint32_t> (juce::nextPowerOfTwo (maximumDelay + maximumRun + 2));
        mask = size - 1;
        samples.allocate (static_cast<size_t> (numChannels) * size);
        positions.assign (static_cast<size_t> (numChannels), 0u);
    }

    void reset() noexcept
    {
        std::fill_n (samples.data(), samples.size(), 0.0f);
        std::fill (positions.begin(), positions.end(), 0u);
    }

    int getMaximumDelayInSamples() const noexcept { return maximumDelay; }

    // How many samples back each channel keeps, its maximum delay and a run's margin included.
    int getCapacity() const noexcept { return static_cast<int> (size); }

    // Zeros `count` samples of every channel, the newest `from` samples before its position and
    // older: the position itself does not move.
    void clearBehind (int from, int count) noexcept
    {
        forEachStretchBehind (from, count, [] (float* samples, std::size_t n) { std::fill_n (samples, n, 0.0f); });
    }

    // The same samples as `clearBehind`, handed to `use (samples, count)` in at most two stretches
    // per channel, to be zeroed later (while the position stays where it is).
    template <typename Use>
    void forEachStretchBehind (int from, int count, Use&& use) noexcept
    {
        from = juce::jlimit (0, static_cast<int> (size), from);
        count = juce::jlimit (0, static_cast<int> (size) - from, count);

        for (size_t channel = 0; channel < positions.size(); ++channel)
        {
            auto* line = lineOf (static_cast<int> (channel));
            const auto start = (positions[channel] - static_cast<std::uint32_t> (from + count)) & mask;
            const auto first = juce::jmin (static_cast<std::uint32_t> (count), size - start);
            use (line + start, static_cast<std::size_t> (first));
            use (line, static_cast<std::size_t> (static_cast<std::uint32_t> (count) - first));
        }
    }

    // Every sample of every channel in one stretch (the positions are not moved).
    template <typename Use>
    void forWholeLine (Use&& use) noexcept
    {
        use (samples.data(), samples.size());
    }

    void write (int channel, const float* source, int numSamples) noexcept
    {
        auto* line = lineOf (channel);
        const auto start = positions[static_cast<size_t> (channel)] & mask;
        const auto first = static_cast<int> (juce::jmin (static_cast<std::uint32_t> (numSamples), size - start));
        copySamples (source, line + start, first);
        copySamples (source + first, line, numSamples - first);
    }

    // A delay (limited to 0 .. maximum) split into whole samples and the fraction after them, once
    // for every channel and run that reads it.
    struct Tap
    {
        std::uint32_t whole = 0;
        float fraction = 0.0f;
    };

    Tap tapAt (float delay) const noexcept
    {
        delay = juce::jlimit (0.0f, static_cast<float> (maximumDelay), delay);
        const auto whole = static_cast<int> (std::floor (delay));
        return { static_cast<std::uint32_t> (whole), delay - static_cast<float> (whole) };
    }

    // destination[i] = the line `delay` samples before position + i.
    void read (int channel, Tap tap, float* destination, int numSamples) const noexcept
    {
        const auto* line = lineOf (channel);
        const auto from = positions[static_cast<size_t> (channel)] - tap.whole;

        if (tap.fraction == 0.0f)
            copyOut (line, from, destination, numSamples);
        else
            interpolateOut (line, from, tap.fraction, destination, numSamples);
    }

    void read (int channel, float delay, float* destination, int numSamples) const noexcept
    {
        read (channel, tapAt (delay), destination, numSamples);
    }

    void advance (int channel, int numSamples) noexcept
    {
        positions[static_cast<size_t> (channel)] += static_cast<std::uint32_t> (numSamples);
    }

    // The JUCE line's process(): each sample pushed, then read `delay` samples back, in place.
    void process (int channel, float* block, int numSamples, Tap tap) noexcept
    {
        for (int start = 0; start < numSamples; start += maximumRun)
        {
            const auto n = juce::jmin (maximumRun, numSamples - start);
            write (channel, block + start, n);
            read (channel, tap, block + start, n);
            advance (channel, n);
        }
    }

    void process (int channel, float* block, int numSamples, float delay) noexcept
    {
        process (channel, block, numSamples, tapAt (delay));
    }

private:
    float* lineOf (int channel) noexcept { return samples.data() + static_cast<size_t> (channel) * size; }
    const float* lineOf (int channel) const noexcept { return samples.data() + static_cast<size_t> (channel) * size; }

    void copyOut (const float* line, std::uint32_t from, float* destination, int numSamples) const noexcept
    {
        const auto start = from & mask;
        const auto first = static_cast<int> (juce::jmin (static_cast<std::uint32_t> (numSamples), size - start));
        copySamples (line + start, destination, first);
        copySamples (line, destination + first, numSamples - first);
    }

    // In stretches where both neighbours lie in one piece of the ring, so the loop vectorises.
    void interpolateOut (const float* line, std::uint32_t from, float fraction, float* destination,
                         int numSamples) const noexcept
    {
        for (int i = 0; i < numSamples;)
        {
            const auto index = (from + static_cast<std::uint32_t> (i)) & mask;

            if (index == 0)
            {
                const auto v1 = line[0], v2 = line[mask];
                destination[i++] = v1 + fraction * (v2 - v1);
                continue;
            }

            const auto n = static_cast<int> (juce::jmin (static_cast<std::uint32_t> (numSamples - i), size - index));
            interpolate (line + index, fraction, destination + i, n);
            i += n;
        }
    }

    // out[j] = v1[j] + fraction (v1[j - 1] - v1[j]), four samples at a time.
    static void interpolate (const float* v1, float fraction, float* out, int numSamples) noexcept
    {
        const auto f = _mm_set1_ps (fraction);
        int j = 0;

        for (; j + 4 <= numSamples; j += 4)
        {
            const auto now = _mm_loadu_ps (v1 + j);
            _mm_storeu_ps (out + j, _mm_add_ps (now, _mm_mul_ps (f, _mm_sub_ps (_mm_loadu_ps (v1 + j - 1), now))));
        }

        for (; j < numSamples; ++j)
            out[j] = v1[j] + fraction * (v1[j - 1] - v1[j]);
    }

    LineMemory samples;
    std::vector<std::uint32_t> positions;
    std::uint32_t size = 0, mask = 0;
    int maximumDelay = 3;
};
