#pragma once

#include <cstddef>

// Heap accounting for the memory benchmarks: a program linked with heapcounter.cpp has its own malloc family,
// which, while counting is on, counts the bytes in use for every library of the process and keeps their peak.
namespace heapcounter
{

// Starts counting from zero.
void start();
// Stops counting; the bytes still in use of those counted, and the most in use at once.
struct Figures {
    std::size_t inUse = 0;
    std::size_t peak = 0;
};
Figures stop();

} // namespace heapcounter
