#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

// Memories to be zeroed a slice at a time instead of in one block. The strip hands its quiet lines
// here on the way into idle, when every sample they hold is below -140 dBFS, and zeros a slice in
// each idle block. Woken before the last slice, it drops the rest: what is left is as quiet as it
// was when handed over, and the stages write over it as they run again.
class SpreadClear
{
public:
    // Up to this many stretches at once: every line of both reverbs and the pre-delay and echo lines.
    static constexpr int capacity = 96;

    // A stretch to zero; one beyond the capacity is zeroed at once.
    void add (float* samples, std::size_t count) noexcept
    {
        if (count == 0)
            return;

        if (numPending == capacity)
        {
            std::fill_n (samples, count, 0.0f);
            return;
        }

        pending[static_cast<size_t> (numPending++)] = { samples, count };
    }

    bool isPending() const noexcept { return numPending > next; }

    // Zeros up to `budget` samples, stretch by stretch in the order they were handed.
    void clearSome (std::size_t budget) noexcept
    {
        while (budget > 0 && isPending())
        {
            auto& stretch = pending[static_cast<size_t> (next)];
            const auto n = std::min (budget, stretch.count);
            std::fill_n (stretch.samples, n, 0.0f);
            stretch.samples += n;
            stretch.count -= n;
            budget -= n;

            if (stretch.count == 0)
                ++next;
        }

        if (! isPending())
            cancel();
    }

    // A slice in proportion to a block, so a short block pays as little as a long one per sample.
    void clearSomeFor (int numChannels, int numSamples, int perSampleAndChannel = defaultPerSampleAndChannel) noexcept
    {
        clearSome (static_cast<std::size_t> (std::max (1, perSampleAndChannel)) * static_cast<std::size_t> (std::max (1, numChannels))
                   * static_cast<std::size_t> (std::max (1, numSamples)));
    }

    // Samples zeroed per sample and channel of a block: at 32-sample stereo blocks 4 KiB a block.
    static constexpr int defaultPerSampleAndChannel = 16;

    void finish() noexcept { clearSome (static_cast<std::size_t> (-1)); }

    // Forgets every stretch: the lines were resized, or the stages run again.
    void cancel() noexcept { numPending = next = 0; }

private:
    struct Stretch
    {
        float* samples = nullptr;
        std::size_t count = 0;
    };

    std::array<Stretch, capacity> pending {};
    int numPending = 0, next = 0;
};
