#pragma once

#include <juce_core/juce_core.h>

#include <cmath>
#include <complex>

enum class Band
{
    low,
    high
};

// The cookbook second-order shelf (R. Bristow-Johnson), in double precision, with its own
// transposed direct form II state so it can follow a block sequence.
struct CookbookShelf
{
    CookbookShelf (Band band, double sampleRate, double cornerHz, double gainDb, double q = 0.7071)
    {
        const auto a = std::pow (10.0, gainDb / 40.0);
        const auto w0 = juce::MathConstants<double>::twoPi * cornerHz / sampleRate;
        const auto cosW0 = std::cos (w0);
        const auto twoRootAAlpha = 2.0 * std::sqrt (a) * std::sin (w0) / (2.0 * q);
        const auto sign = band == Band::low ? 1.0 : -1.0;

        b0 = a * ((a + 1) - sign * (a - 1) * cosW0 + twoRootAAlpha);
        b1 = sign * 2 * a * ((a - 1) - sign * (a + 1) * cosW0);
        b2 = a * ((a + 1) - sign * (a - 1) * cosW0 - twoRootAAlpha);
        a0 = (a + 1) + sign * (a - 1) * cosW0 + twoRootAAlpha;
        a1 = -sign * 2 * ((a - 1) + sign * (a + 1) * cosW0);
        a2 = (a + 1) + sign * (a - 1) * cosW0 - twoRootAAlpha;

        // Normalised as a filter stores them, so the state means the same after a retune.
        for (auto* coefficient : { &b0, &b1, &b2, &a1, &a2 })
            *coefficient /= a0;
        a0 = 1.0;
    }

    double magnitudeDb (double frequency, double sampleRate) const
    {
        const auto z1 = std::polar (1.0, -juce::MathConstants<double>::twoPi * frequency / sampleRate);
        const auto z2 = z1 * z1;
        return 20.0 * std::log10 (std::abs ((b0 + b1 * z1 + b2 * z2) / (a0 + a1 * z1 + a2 * z2)));
    }

    // Takes over another design's coefficients, keeping this filter's memory.
    void retune (const CookbookShelf& other)
    {
        b0 = other.b0, b1 = other.b1, b2 = other.b2, a0 = other.a0, a1 = other.a1, a2 = other.a2;
    }

    double process (double x)
    {
        const auto y = b0 * x + s1;
        s1 = b1 * x - a1 * y + s2;
        s2 = b2 * x - a2 * y;
        return y;
    }

    double b0, b1, b2, a0, a1, a2;
    double s1 = 0.0, s2 = 0.0;
};
