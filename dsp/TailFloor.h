#pragma once

#include <juce_core/juce_core.h>

#include <limits>

// JUCE's reverb rounds what circles in its loops to steps of 2^-27 (its guard against denormals),
// so a tail fed silence never dies away: it falls to a floor 95 to 112 dB below full scale,
// depending on the type, and circles there for ever. This watches such a tail half a second at a
// time; once a half second's peak has not fallen by 2 dB from the one before, and is far below
// anything audible, the tail has reached that floor and can be cleared. A real tail falls faster
// than this even on the longest type (about 10 dB a second).
class TailFloor
{
public:
    void prepare (double sampleRate) noexcept
    {
        windowLength = juce::jmax (1, juce::roundToInt (0.5 * sampleRate));
        restart();
    }

    // While the tail is fed sound it is not settling.
    void restart() noexcept
    {
        previousPeak = std::numeric_limits<float>::max();
        windowPeak = 0.0f;
        filled = 0;
    }

    // One block of the tail fed silence; true once it sits on its floor.
    bool reachedFloor (float peak, int numSamples) noexcept
    {
        windowPeak = juce::jmax (windowPeak, peak);
        filled += numSamples;

        if (filled < windowLength)
            return false;

        // A silent half second holds nothing to clear.
        const auto stalled = windowPeak > 0.0f && windowPeak < ceiling && ! (windowPeak < previousPeak * minimumFall);
        previousPeak = windowPeak;
        windowPeak = 0.0f;
        filled = 0;
        return stalled;
    }

private:
    static constexpr float ceiling = 1.0e-4f;     // -80 dBFS
    static constexpr float minimumFall = 0.7943f; // 2 dB

    float previousPeak = std::numeric_limits<float>::max(), windowPeak = 0.0f;
    int windowLength = 1, filled = 0;
};
