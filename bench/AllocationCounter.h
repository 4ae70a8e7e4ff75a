#pragma once

#include <cstddef>

// Allocations made through the global operator new since the program started. Linking
// AllocationCounter.cpp replaces the global operator new and delete of the whole program.
std::size_t AllocationCount();
