#include "bench/heapcounter.h"

#include <malloc.h>

#include <algorithm>

extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *block, std::size_t size);
void __libc_free(void *block);
}

namespace
{

bool heapCounting = false;
std::size_t heapInUse = 0;
std::size_t heapPeak = 0;

void *counted(void *block)
{
    if (heapCounting && block) {
        heapInUse += malloc_usable_size(block);
        heapPeak = std::max(heapPeak, heapInUse);
    }
    return block;
}

void uncount(void *block)
{
    if (heapCounting && block)
        heapInUse -= std::min(heapInUse, malloc_usable_size(block));
}

} // namespace

extern "C" void *malloc(std::size_t size) noexcept
{
    return counted(__libc_malloc(size));
}

extern "C" void *calloc(std::size_t count, std::size_t size) noexcept
{
    return counted(__libc_calloc(count, size));
}

extern "C" void *realloc(void *block, std::size_t size) noexcept
{
    uncount(block);
    void *moved = __libc_realloc(block, size);
    if (!moved && block && size) {
        counted(block);
        return nullptr;
    }
    return counted(moved);
}

extern "C" void free(void *block) noexcept
{
    uncount(block);
    __libc_free(block);
}

namespace heapcounter
{

void start()
{
    heapInUse = heapPeak = 0;
    heapCounting = true;
}

Figures stop()
{
    heapCounting = false;
    return {heapInUse, heapPeak};
}

} // namespace heapcounter
