#pragma once

#include <cstddef>

// Zeroed float storage for the delay lines, from memory the system may back with 2 MiB pages.
// Every block a strip reads and writes a few hundred bytes in each of dozens of lines; with
// dozens of strips in one thread, 4 KiB pages would need more address translations than the
// processor caches. So lines of a whole large page or more get pages of their own, rounded up to
// whole large pages, and smaller ones share large pages with the lines of every other strip in
// the process. Where large pages are off it is ordinary memory; the samples do not change.
// Allocates and frees only in prepare and destruction, never while processing.
class LineMemory
{
public:
    LineMemory() = default;
    ~LineMemory();
    LineMemory (const LineMemory&) = delete;
    LineMemory& operator= (const LineMemory&) = delete;
    LineMemory (LineMemory&& other) noexcept;
    LineMemory& operator= (LineMemory&& other) noexcept;

    // Frees what was held and takes `numFloats` zeroed floats, the first 64-byte aligned.
    void allocate (std::size_t numFloats);
    void release() noexcept;

    float* data() noexcept { return samples; }
    const float* data() const noexcept { return samples; }
    std::size_t size() const noexcept { return count; }

    // Bytes every line in the process holds (rounded up as they are placed), for the memory report.
    static std::size_t bytesHeldByAll() noexcept;

private:
    float* samples = nullptr;
    std::size_t count = 0;
};
