#include "dsp/LineMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{
bool allEqual (const LineMemory& memory, float value)
{
    return std::all_of (memory.data(), memory.data() + memory.size(), [value] (float x) { return x == value; });
}

// Lines of many strips at many rates: small ones sharing pages, some of a large page or more.
std::vector<std::size_t> lineSizes()
{
    std::vector<std::size_t> sizes;
    for (std::size_t k = 0; k < 40; ++k)
        sizes.push_back (1 + (k * 7919) % 70000);
    sizes.push_back (std::size_t { 1 } << 19); // exactly a large page of floats
    sizes.push_back ((std::size_t { 1 } << 20) + 3);
    return sizes;
}
} // namespace

// Each line is zeroed, aligned for whole registers and cache lines, and its own: writing every
// line with its own value leaves every other line as it was, through lines freed and taken again
// in between (a stretch taken again comes back zeroed, not holding what was freed there).
TEST (LineMemory, LinesAreZeroedAlignedAndNeverOverlapAsTheyAreFreedAndTakenAgain)
{
    const auto sizes = lineSizes();
    std::vector<LineMemory> lines (sizes.size());

    auto fill = [&] (std::size_t k)
    {
        lines[k].allocate (sizes[k]);
        ASSERT_EQ (lines[k].size(), sizes[k]);
        ASSERT_EQ (reinterpret_cast<std::uintptr_t> (lines[k].data()) % 64, 0u);
        ASSERT_TRUE (allEqual (lines[k], 0.0f)) << "line " << k;
        std::fill_n (lines[k].data(), lines[k].size(), static_cast<float> (k + 1));
    };

    for (std::size_t k = 0; k < lines.size(); ++k)
        fill (k);

    for (std::size_t k = 0; k < lines.size(); k += 3)
        lines[k].release();

    for (std::size_t k = 0; k < lines.size(); k += 3)
        fill (k);

    for (std::size_t k = 0; k < lines.size(); ++k)
        EXPECT_TRUE (allEqual (lines[k], static_cast<float> (k + 1))) << "line " << k;
}

TEST (LineMemory, MovingHandsTheLineOverAndReleasingGivesItBack)
{
    const auto before = LineMemory::bytesHeldByAll();
    LineMemory first;
    first.allocate (1000);
    first.data()[999] = 5.0f;
    EXPECT_GE (LineMemory::bytesHeldByAll(), before + 4000);

    LineMemory second (std::move (first));
    EXPECT_EQ (first.data(), nullptr);
    EXPECT_EQ (second.data()[999], 5.0f);

    second.release();
    EXPECT_EQ (LineMemory::bytesHeldByAll(), before);
}
