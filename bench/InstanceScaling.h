#pragma once

// Many strips in one thread, block by block as a host runs its tracks, each on its own input: the
// cost per instance at 1, 16 and 64 instances. Then the heap one instance holds at 48 and 192 kHz,
// and what its delay lines, reverbs and scratch buffers take of it.
void printInstanceScaling (double nsPerCycle);
