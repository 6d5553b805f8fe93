#include "tests/allocation/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<bool> armed { false };
std::atomic<std::size_t> count { 0 };

void note() noexcept
{
    if (armed.load (std::memory_order_relaxed))
        count.fetch_add (1, std::memory_order_relaxed);
}
} // namespace

namespace allocations
{
void arm() noexcept
{
    count.store (0);
    armed.store (true);
}

void disarm() noexcept { armed.store (false); }

std::size_t counted() noexcept { return count.load(); }
} // namespace allocations

#if defined(__GLIBC__)
// The C allocator itself, replaced here so that everything linked into this program goes through it.
extern "C"
{
    void* __libc_malloc (std::size_t);
    void* __libc_calloc (std::size_t, std::size_t);
    void* __libc_realloc (void*, std::size_t);
    void* __libc_memalign (std::size_t, std::size_t);
    void __libc_free (void*);

    void* malloc (std::size_t size)
    {
        note();
        return __libc_malloc (size);
    }

    void* calloc (std::size_t count, std::size_t size)
    {
        note();
        return __libc_calloc (count, size);
    }

    void* realloc (void* pointer, std::size_t size)
    {
        note();
        return __libc_realloc (pointer, size);
    }

    void* memalign (std::size_t alignment, std::size_t size)
    {
        note();
        return __libc_memalign (alignment, size);
    }

    void* aligned_alloc (std::size_t alignment, std::size_t size)
    {
        note();
        return __libc_memalign (alignment, size);
    }

    int posix_memalign (void** result, std::size_t alignment, std::size_t size)
    {
        note();
        *result = __libc_memalign (alignment, size);
        return *result != nullptr || size == 0 ? 0 : 12; // ENOMEM
    }

    void free (void* pointer) { __libc_free (pointer); }
}

namespace
{
void* rawAllocate (std::size_t size) noexcept { return __libc_malloc (size == 0 ? 1 : size); }
void* rawAllocateAligned (std::size_t size, std::size_t alignment) noexcept
{
    return __libc_memalign (alignment, size == 0 ? 1 : size);
}
void rawFree (void* pointer) noexcept { __libc_free (pointer); }
} // namespace
#else
namespace
{
void* rawAllocate (std::size_t size) noexcept { return std::malloc (size == 0 ? 1 : size); }
void* rawAllocateAligned (std::size_t size, std::size_t alignment) noexcept
{
    return std::aligned_alloc (alignment, (size + alignment - 1) / alignment * alignment);
}
void rawFree (void* pointer) noexcept { std::free (pointer); }
} // namespace
#endif

// operator new counts once and takes its memory from the raw allocator, not from the counted malloc.
void* operator new (std::size_t size)
{
    note();
    if (auto* pointer = rawAllocate (size))
        return pointer;
    throw std::bad_alloc();
}

void* operator new[] (std::size_t size) { return operator new (size); }

void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    note();
    return rawAllocate (size);
}

void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return operator new (size, std::nothrow); }

void* operator new (std::size_t size, std::align_val_t alignment)
{
    note();
    if (auto* pointer = rawAllocateAligned (size, static_cast<std::size_t> (alignment)))
        return pointer;
    throw std::bad_alloc();
}

void* operator new[] (std::size_t size, std::align_val_t alignment) { return operator new (size, alignment); }

void operator delete (void* pointer) noexcept { rawFree (pointer); }
void operator delete[] (void* pointer) noexcept { rawFree (pointer); }
void operator delete (void* pointer, std::size_t) noexcept { rawFree (pointer); }
void operator delete[] (void* pointer, std::size_t) noexcept { rawFree (pointer); }
void operator delete (void* pointer, const std::nothrow_t&) noexcept { rawFree (pointer); }
void operator delete[] (void* pointer, const std::nothrow_t&) noexcept { rawFree (pointer); }
void operator delete (void* pointer, std::align_val_t) noexcept { rawFree (pointer); }
void operator delete[] (void* pointer, std::align_val_t) noexcept { rawFree (pointer); }
void operator delete (void* pointer, std::size_t, std::align_val_t) noexcept { rawFree (pointer); }
void operator delete[] (void* pointer, std::size_t, std::align_val_t) noexcept { rawFree (pointer); }
