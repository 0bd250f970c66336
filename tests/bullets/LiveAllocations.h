// Counts the heap blocks this test program holds, so a test can show that an
// operation leaves nothing behind (e.g. that refused bullets are freed at once).
#pragma once

long LiveAllocations();
// Blocks allocated since the program started, freed or not.
long AllocationsMade();
