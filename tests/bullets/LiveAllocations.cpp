#include "tests/bullets/LiveAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<long> liveBlocks{0};
std::atomic<long> madeBlocks{0};
} // namespace

long LiveAllocations()
{
    return liveBlocks.load();
}

long AllocationsMade()
{
    return madeBlocks.load();
}

void* operator new(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
    {
        throw std::bad_alloc();
    }
    ++liveBlocks;
    ++madeBlocks;
    return block;
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* block) noexcept
{
    if (block != nullptr)
    {
        --liveBlocks;
        std::free(block);
    }
}

void operator delete[](void* block) noexcept
{
    operator delete(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    operator delete(block);
}
