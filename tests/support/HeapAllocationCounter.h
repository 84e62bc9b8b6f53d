// Counts the heap allocations of a test program, so that a test can prove
// that an operation made none. A program that links HeapAllocationCounter.cpp
// has the global operator new and delete replaced by counting versions; the
// replacement is program-wide, so only test programs that want it link it.
#pragma once

// The number of operator new calls so far in this program.
long HeapAllocations();
