#pragma once

#include <cstddef>

// Counts heap allocations made by any thread while armed: operator new in all its forms and, on
// glibc, malloc, calloc, realloc and the aligned allocators too (JUCE's HeapBlock uses malloc).
namespace allocations
{
void arm() noexcept;
void disarm() noexcept;
std::size_t counted() noexcept;

// Arms on construction, disarms on destruction.
struct ScopedCount
{
    ScopedCount() noexcept { arm(); }
    ~ScopedCount() { disarm(); }
    ScopedCount (const ScopedCount&) = delete;
    ScopedCount& operator= (const ScopedCount&) = delete;
};
} // namespace allocations
