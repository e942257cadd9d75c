#pragma once

// Counts the heap allocations the program makes while counting is switched
// on: every call of the global operator new, and every block taken from the
// C allocator (which operator new, Qt's containers and strings all end in).

#include <cstdint>

namespace heapcount {

struct Counts {
    std::uint64_t news = 0;     // global operator new and new[]
    std::uint64_t blocks = 0;   // malloc, calloc, realloc to a new block, aligned allocations
};

// Counts what happens on this thread between construction and Stop().
class Scope {
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    Counts Stop();

private:
    bool stopped_ = false;
};

} // namespace heapcount
