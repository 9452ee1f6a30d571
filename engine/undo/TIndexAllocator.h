#pragma once

#include <cstddef>
#include <new>

/// Allocates `bytes` for a peak index: a large block as pages of its own straight from the
/// system, a small one from the heap. Raises std::bad_alloc.
void* AllocateIndexStorage(std::size_t bytes);
/// Gives back a block from `AllocateIndexStorage` of the same size.
void FreeIndexStorage(void* block, std::size_t bytes) noexcept;

/// The allocator of peak indexes. A large index goes back to the system the moment it is freed,
/// whichever thread built it: the heap would otherwise keep the pages that every edit's worker
/// thread freed for later use, and an edit session would hold a few indexes' worth of memory per
/// worker thread long after the indexes were gone.
template <typename T> class TIndexAllocator {
public:
    using value_type = T;

    TIndexAllocator() = default;
    template <typename U> TIndexAllocator(const TIndexAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(AllocateIndexStorage(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { FreeIndexStorage(block, n * sizeof(T)); }

    template <typename U> bool operator==(const TIndexAllocator<U>&) const noexcept { return true; }
};
