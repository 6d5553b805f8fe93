#pragma once

#include <array>

// The note values a tempo-synced pre-delay picks from, shortest first, and how the pre-delay's
// 0..500 ms range selects one: the range is cut into equal slices, one per note value, the lowest
// slice the shortest value (each slice 500 / 14 = 35.7 ms wide).
struct NoteValue
{
    const char* name;  // "1/8", "1/8 D" (dotted), "1/8 T" (triplet)
    int denominator;   // 8 for any eighth
    char modifier;     // 0, 'D' or 'T'
    double wholeNotes; // its length in whole notes: a quarter is 0.25
};

inline constexpr std::array<NoteValue, 14> noteValues { {
    { "1/64", 64, 0, 1.0 / 64.0 },
    { "1/32 T", 32, 'T', 1.0 / 48.0 },
    { "1/64 D", 64, 'D', 3.0 / 128.0 },
    { "1/32", 32, 0, 1.0 / 32.0 },
    { "1/16 T", 16, 'T', 1.0 / 24.0 },
    { "1/32 D", 32, 'D', 3.0 / 64.0 },
    { "1/16", 16, 0, 1.0 / 16.0 },
    { "1/8 T", 8, 'T', 1.0 / 12.0 },
    { "1/16 D", 16, 'D', 3.0 / 32.0 },
    { "1/8", 8, 0, 1.0 / 8.0 },
    { "1/4 T", 4, 'T', 1.0 / 6.0 },
    { "1/8 D", 8, 'D', 3.0 / 16.0 },
    { "1/4", 4, 0, 1.0 / 4.0 },
    { "1/4 D", 4, 'D', 3.0 / 8.0 },
} };

inline constexpr float preDelayRangeMs = 500.0f;

// The slowest tempo a pre-delay's line is sized for: the longest value there (a dotted quarter at
// 20 BPM) is 4.5 s. A host running slower holds the longer values at that length.
inline constexpr double slowestSyncedBpm = 20.0;
inline constexpr double longestSyncedPreDelaySeconds = 60.0 / slowestSyncedBpm * 4.0 * noteValues.back().wholeNotes;

// The note value a pre-delay setting (0..500 ms) selects; a value outside the range (or not a
// number) selects the nearest end.
int noteValueIndexFor (float preDelayMs) noexcept;

// The setting in the middle of a note value's slice, on the parameter's 0.1 ms grid.
float preDelaySettingFor (int noteIndex) noexcept;

// A note value's length in ms at a tempo. A tempo that is not a number above 0 counts as 120 BPM;
// an infinite one gives 0 ms.
double noteValueMs (int noteIndex, double bpm) noexcept;
