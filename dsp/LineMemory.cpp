#include "dsp/LineMemory.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
 #include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
 #define LUMBRA_LINES_CHECKED 1
#elif defined(__has_feature)
 #if __has_feature(address_sanitizer)
  #define LUMBRA_LINES_CHECKED 1
 #endif
#endif

namespace
{
#ifdef LUMBRA_LINES_CHECKED
std::atomic<std::size_t> checkedBytesHeld { 0 }; // the lines' own allocations, counted as the pages count theirs
#endif

constexpr std::size_t largePage = std::size_t { 2 } << 20;
constexpr std::size_t placement = 64; // a cache line: no two lines share one

std::size_t roundedUp (std::size_t bytes, std::size_t multiple) { return (bytes + multiple - 1) / multiple * multiple; }

// `bytes` (a whole number of large pages) aligned to a large page, asked to be backed by large
// pages where the system offers them; nullptr if there is no memory.
char* mapUntouchedLargePages (std::size_t bytes)
{
#if defined(__unix__) || defined(__APPLE__)
    const auto spare = bytes + largePage;
    auto* mapped = ::mmap (nullptr, spare, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);

    if (mapped == MAP_FAILED)
        return nullptr;

    // Trim the mapping to an aligned stretch, so each large page lies on one.
    auto* start = static_cast<char*> (mapped);
    auto* aligned = reinterpret_cast<char*> (roundedUp (reinterpret_cast<std::uintptr_t> (start), largePage));
    if (aligned > start)
        ::munmap (start, static_cast<std::size_t> (aligned - start));
    if (auto tail = static_cast<std::size_t> (start + spare - (aligned + bytes)); tail > 0)
        ::munmap (aligned + bytes, tail);

 #ifdef MADV_HUGEPAGE
    ::madvise (aligned, bytes, MADV_HUGEPAGE); // only a hint: ordinary pages if refused
 #endif
    return aligned;
#else
    return static_cast<char*> (::operator new (bytes, std::align_val_t { largePage }, std::nothrow));
#endif
}

// `bytes` (a whole number of large pages) aligned to a large page, asked to be backed by large
// pages where the system offers them, and zeroed; nullptr if there is no memory.
char* mapLargePages (std::size_t bytes)
{
    auto* pages = mapUntouchedLargePages (bytes);

    // Every page is touched here, on the preparing thread: a page first touched while processing
    // would have the system find and zero it inside one block (a 2 MiB page takes hundreds of
    // microseconds).
    if (pages != nullptr)
        std::memset (pages, 0, bytes);
    return pages;
}

void unmap (char* start, std::size_t bytes) noexcept
{
#if defined(__unix__) || defined(__APPLE__)
    ::munmap (start, bytes);
#else
    static_cast<void> (bytes);
    ::operator delete (start, std::align_val_t { largePage });
#endif
}

// Large pages shared by the smaller lines: placed first fit, freed stretches merged with their
// neighbours, and a page given back once nothing lives in it.
class SharedPages
{
public:
    static SharedPages& instance()
    {
        static SharedPages pages;
        return pages;
    }

    char* take (std::size_t bytes)
    {
        const std::lock_guard lock (mutex);
        bytes = roundedUp (bytes, placement);

        if (bytes >= largePage)
        {
            bytes = roundedUp (bytes, largePage);
            auto* own = mapLargePages (bytes);
            if (own == nullptr)
                throw std::bad_alloc();
            owned.push_back ({ own, bytes });
            held += bytes;
            return own;
        }

        for (auto& page : pages)
            if (auto* found = page.take (bytes))
                return held += bytes, found;

        auto* start = mapLargePages (largePage);
        if (start == nullptr)
            throw std::bad_alloc();
        pages.push_back ({ start, { { 0, largePage } }, 0 });
        held += bytes;
        return pages.back().take (bytes);
    }

    void give (char* start, std::size_t bytes) noexcept
    {
        const std::lock_guard lock (mutex);
        bytes = roundedUp (bytes, placement);

        if (bytes >= largePage)
        {
            bytes = roundedUp (bytes, largePage);
            owned.erase (std::find_if (owned.begin(), owned.end(), [start] (const auto& o) { return o.first == start; }));
            unmap (start, bytes);
            held -= bytes;
            return;
        }

        held -= bytes;
        const auto page = std::find_if (pages.begin(), pages.end(), [start] (const Page& p)
                                        { return start >= p.start && start < p.start + largePage; });
        page->give (static_cast<std::size_t> (start - page->start), bytes);

        if (page->live == 0)
        {
            unmap (page->start, largePage);
            pages.erase (page);
        }
    }

    std::size_t bytesHeld() noexcept
    {
        const std::lock_guard lock (mutex);
        return held;
    }

private:
    struct Page
    {
        char* start;
        std::vector<std::pair<std::size_t, std::size_t>> free; // offset and length, in order
        int live;

        char* take (std::size_t bytes)
        {
            const auto gap = std::find_if (free.begin(), free.end(), [bytes] (const auto& f) { return f.second >= bytes; });
            if (gap == free.end())
                return nullptr;

            auto* found = start + gap->first;
            gap->first += bytes;
            gap->second -= bytes;
            if (gap->second == 0)
                free.erase (gap);
            ++live;
            std::memset (found, 0, bytes); // a stretch given back holds old samples
            return found;
        }

        void give (std::size_t offset, std::size_t bytes)
        {
            --live;
            auto next = std::find_if (free.begin(), free.end(), [offset] (const auto& f) { return f.first > offset; });
            next = free.insert (next, { offset, bytes });

            if (auto after = next + 1; after != free.end() && next->first + next->second == after->first)
            {
                next->second += after->second;
                free.erase (after);
            }

            if (next != free.begin())
                if (auto before = next - 1; before->first + before->second == next->first)
                {
                    before->second += next->second;
                    free.erase (next);
                }
        }
    };

    std::mutex mutex;
    std::vector<Page> pages;
    std::vector<std::pair<char*, std::size_t>> owned;
    std::size_t held = 0;
};
} // namespace

LineMemory::~LineMemory() { release(); }

LineMemory::LineMemory (LineMemory&& other) noexcept
    : samples (std::exchange (other.samples, nullptr)), count (std::exchange (other.count, 0))
{
}

LineMemory& LineMemory::operator= (LineMemory&& other) noexcept
{
    if (this != &other)
    {
        release();
        samples = std::exchange (other.samples, nullptr);
        count = std::exchange (other.count, 0);
    }
    return *this;
}

void LineMemory::allocate (std::size_t numFloats)
{
    release();
    if (numFloats == 0)
        return;

#ifdef LUMBRA_LINES_CHECKED
    // Under the address checker each line is its own allocation, so a read past its end is caught.
    samples = new (std::align_val_t { placement }) float[numFloats]();
    checkedBytesHeld += numFloats * sizeof (float);
#else
    samples = reinterpret_cast<float*> (SharedPages::instance().take (numFloats * sizeof (float)));
#endif
    count = numFloats;
}

void LineMemory::release() noexcept
{
    if (samples != nullptr)
    {
#ifdef LUMBRA_LINES_CHECKED
        ::operator delete[] (samples, std::align_val_t { placement });
        checkedBytesHeld -= count * sizeof (float);
#else
        SharedPages::instance().give (reinterpret_cast<char*> (samples), count * sizeof (float));
#endif
    }

    samples = nullptr;
    count = 0;
}

std::size_t LineMemory::bytesHeldByAll() noexcept
{
#ifdef LUMBRA_LINES_CHECKED
    return checkedBytesHeld.load();
#else
    return SharedPages::instance().bytesHeld();
#endif
}
