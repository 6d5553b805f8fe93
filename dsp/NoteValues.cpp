#include "dsp/NoteValues.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr auto noteCount = static_cast<int> (noteValues.size());
constexpr auto sliceMs = static_cast<double> (preDelayRangeMs) / noteCount;
} // namespace

int noteValueIndexFor (float preDelayMs) noexcept
{
    if (! (preDelayMs > 0.0f))
        return 0;

    if (! (preDelayMs < preDelayRangeMs))
        return noteCount - 1;

    // In double: a setting on a slice's edge (250 ms) lands in the slice it starts.
    return std::min (noteCount - 1, static_cast<int> (static_cast<double> (preDelayMs) * noteCount / preDelayRangeMs));
}

float preDelaySettingFor (int noteIndex) noexcept
{
    const auto index = std::clamp (noteIndex, 0, noteCount - 1);
    return static_cast<float> (std::round ((index + 0.5) * sliceMs * 10.0) / 10.0);
}

double noteValueMs (int noteIndex, double bpm) noexcept
{
    if (std::isnan (bpm) || ! (bpm > 0.0))
        bpm = 120.0;

    const auto index = std::clamp (noteIndex, 0, noteCount - 1);
    return 60000.0 / bpm * 4.0 * noteValues[static_cast<size_t> (index)].wholeNotes;
}
