#include "TIndexAllocator.h"

#include <sys/mman.h>

namespace {

/// Blocks from this size on get pages of their own: the index of about 15 seconds of stereo.
constexpr std::size_t MappedBytes = 256 * 1024;

} // namespace

void* AllocateIndexStorage(std::size_t bytes) {
    if (bytes < MappedBytes)
        return ::operator new(bytes);
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    return block;
}

void FreeIndexStorage(void* block, std::size_t bytes) noexcept {
    if (bytes < MappedBytes)
        ::operator delete(block);
    else
        munmap(block, bytes);
}
