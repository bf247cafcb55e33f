// The C standard's sample generator. glibc's rand returns up to 2^31 - 1, which would push the
// random fraction far past 1, so the program never calls rand.
#include "render/random.h"

namespace {
unsigned long state = 1;
const float kFractionScale = 3.0518509447574615e-05f;  // 2^-15 + 2^-30, as a float constant
}  // namespace

void seedRandom(unsigned seed) { state = seed; }

int nextRandom()
{
    state = (state * 1103515245UL + 12345UL) & 0xFFFFFFFFUL;
    return static_cast<int>((state / 65536UL) % 32768UL);
}

double randomFraction() { return nextRandom() * static_cast<double>(kFractionScale); }
