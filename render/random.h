// The program's random generator: srand/rand semantics with 15-bit results on every platform,
// and the random fraction r drawn from it.
#pragma once

// Restarts the sequence from a seed, as srand does.
void seedRandom(unsigned seed);
// Next value, 0...32767, as rand does where RAND_MAX is 32767.
int nextRandom();
// r = nextRandom() x (2^-15 + 2^-30): 0 <= r <= 1 - 2^-30, so trunc(r x N) stays in 0...N-1.
double randomFraction();
