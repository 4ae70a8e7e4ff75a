#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

// The array and nothrow forms of the standard library call these, so counting here counts every
// allocation by new, new[] and the standard containers.
namespace {

std::size_t Allocations = 0;

void* Allocate(std::size_t size, std::size_t alignment)
{
    ++Allocations;
    if (size == 0)
        size = 1;
    void* p = alignment <= alignof(std::max_align_t)
                  ? std::malloc(size)
                  : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

} // namespace

std::size_t AllocationCount()
{
    return Allocations;
}

void* operator new(std::size_t size)
{
    return Allocate(size, alignof(std::max_align_t));
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return Allocate(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}
