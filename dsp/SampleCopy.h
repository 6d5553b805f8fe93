#pragma once

#include <emmintrin.h>

// A short copy: delay lines are read and written in many short pieces per block. GCC would turn
// this loop back into a memcpy, which it expands into a string move whose start-up costs more than
// copying a small block, so here it is told to keep the loop.
#if defined(__GNUC__) && ! defined(__clang__)
__attribute__ ((optimize ("no-tree-loop-distribute-patterns")))
#endif
inline void copySamples (const float* source, float* destination, int numSamples) noexcept
{
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
        _mm_storeu_ps (destination + i, _mm_loadu_ps (source + i));

    for (; i < numSamples; ++i)
        destination[i] = source[i];
}
