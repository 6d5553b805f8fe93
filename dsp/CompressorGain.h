#pragma once

#include <algorithm>
#include <cmath>
#include <emmintrin.h>

// The hard-knee gain computer: 1 below the threshold, (envelope / threshold)^exponent above it,
// with exponent = 1 / ratio - 1. For the ratios 2, 4 and 8 the power is a product of square roots
// (x^-1/2, x^-3/4 = x^-(1/2 + 1/4), x^-7/8 = x^-(1/2 + 1/4 + 1/8)), four samples per SSE2 step;
// any other exponent takes std::pow.
namespace compressorGain
{
inline __m128 rootPower (__m128 x, int halvings) noexcept
{
    auto root = _mm_sqrt_ps (x);
    auto product = root;

    for (int h = 1; h < halvings; ++h)
    {
        root = _mm_sqrt_ps (root);
        product = _mm_mul_ps (product, root);
    }

    return _mm_div_ps (_mm_set1_ps (1.0f), product);
}

// How many square roots make x^exponent, or 0 when the exponent has no such form.
inline int halvingsFor (float exponent) noexcept
{
    if (exponent == -0.5f)
        return 1;
    if (exponent == -0.75f)
        return 2;
    if (exponent == -0.875f)
        return 3;
    return 0;
}

// x^exponent one sample at a time, rounded exactly as the four-wide form.
inline float power (float x, float exponent) noexcept
{
    const auto halvings = halvingsFor (exponent);

    if (halvings == 0)
        return std::pow (x, exponent);

    auto root = std::sqrt (x);
    auto product = root;

    for (int h = 1; h < halvings; ++h)
    {
        root = std::sqrt (root);
        product *= root;
    }

    return 1.0f / product;
}

inline __m128 gainsOf (__m128 envelope, __m128 threshold, __m128 inverse, int halvings) noexcept
{
    // Below the threshold the power is not wanted (it may be infinite there): 1 is taken.
    const auto one = _mm_set1_ps (1.0f);
    const auto below = _mm_cmplt_ps (envelope, threshold);
    const auto power = rootPower (_mm_mul_ps (envelope, inverse), halvings);
    return _mm_or_ps (_mm_and_ps (below, one), _mm_andnot_ps (below, power));
}

// gains[i] = envelope[i] < threshold ? 1 : (envelope[i] x inverse)^exponent; `inverse` is 1 / threshold.
inline void compute (const float* envelope, float threshold, float inverse, float exponent, float* gains,
                     int numSamples) noexcept
{
    const auto halvings = halvingsFor (exponent);

    if (halvings == 0)
    {
        for (int i = 0; i < numSamples; ++i)
            gains[i] = envelope[i] < threshold ? 1.0f : std::pow (envelope[i] * inverse, exponent);
        return;
    }

    const auto limit = _mm_set1_ps (threshold);
    const auto scale = _mm_set1_ps (inverse);
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
        _mm_storeu_ps (gains + i, gainsOf (_mm_loadu_ps (envelope + i), limit, scale, halvings));

    if (i < numSamples)
    {
        float last[4] = { 0.0f, 0.0f, 0.0f, 0.0f };
        std::copy (envelope + i, envelope + numSamples, last);
        _mm_storeu_ps (last, gainsOf (_mm_loadu_ps (last), limit, scale, halvings));
        std::copy (last, last + (numSamples - i), gains + i);
    }
}
} // namespace compressorGain
