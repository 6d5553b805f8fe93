#pragma once

#include <emmintrin.h>

// A short copy inline: delay lines are read and written in many short pieces per block, where a
// library call would cost more than the copy itself. The two ranges must not overlap.
inline void copySamples (const float* source, float* destination, int numSamples) noexcept
{
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
        _mm_storeu_ps (destination + i, _mm_loadu_ps (source + i));

    for (; i < numSamples; ++i)
        destination[i] = source[i];
}
