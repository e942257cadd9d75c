#include "heap_count.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>

// Under AddressSanitizer the C allocator belongs to the sanitizer: only
// operator new is counted there.
#if defined(__SANITIZE_ADDRESS__)
#define HEAPCOUNT_C_ALLOCATOR 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HEAPCOUNT_C_ALLOCATOR 0
#endif
#endif
#ifndef HEAPCOUNT_C_ALLOCATOR
#define HEAPCOUNT_C_ALLOCATOR 1
#endif

#if HEAPCOUNT_C_ALLOCATOR
// glibc's own entry points, to which the replacements below hand the work.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}
#endif

namespace {

thread_local bool counting = false;
thread_local heapcount::Counts counts;

[[maybe_unused]] void NoteBlock()
{
    if (counting)
        ++counts.blocks;
}

void* NewBlock(std::size_t size)
{
    if (counting)
        ++counts.news;
    if (size == 0)
        size = 1;
    void* p = std::malloc(size);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void* NewAligned(std::size_t size, std::align_val_t alignment)
{
    if (counting)
        ++counts.news;
    void* p = nullptr;
    if (posix_memalign(&p, std::max(sizeof(void*), static_cast<std::size_t>(alignment)), size == 0 ? 1 : size) != 0)
        throw std::bad_alloc();
    return p;
}

} // namespace

namespace heapcount {

Scope::Scope()
{
    counts = {};
    counting = true;
}

Scope::~Scope() { counting = false; }

Counts Scope::Stop()
{
    if (!stopped_) {
        counting = false;
        stopped_ = true;
    }
    return counts;
}

} // namespace heapcount

#if HEAPCOUNT_C_ALLOCATOR
// The C allocator, replaced for the whole process (the executable's symbols
// take precedence over the C library's for Qt as well).
extern "C" {

void* malloc(std::size_t size) noexcept
{
    NoteBlock();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept
{
    NoteBlock();
    return __libc_calloc(count, size);
}

void* realloc(void* block, std::size_t size) noexcept
{
    // Growing in place or shrinking still counts: the caller asked for memory.
    NoteBlock();
    return __libc_realloc(block, size);
}

void free(void* block) noexcept { __libc_free(block); }

int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept
{
    NoteBlock();
    void* p = __libc_memalign(alignment, size);
    if (!p)
        return 12;  // ENOMEM
    *out = p;
    return 0;
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept
{
    NoteBlock();
    return __libc_memalign(alignment, size);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept
{
    NoteBlock();
    return __libc_memalign(alignment, size);
}

} // extern "C"
#endif

void* operator new(std::size_t size) { return NewBlock(size); }
void* operator new[](std::size_t size) { return NewBlock(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return NewBlock(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return NewBlock(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t alignment) { return NewAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return NewAligned(size, alignment); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
