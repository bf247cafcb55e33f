// The soak loop: the whole program (runApplication with the real shell, renderer, drift scene and
// layer) run frame after frame at a small window size on a hand-driven clock, so no frame sleeps,
// with F1 switches and P snapshots pushed in as key events, and what the process holds sampled
// between blocks of frames. Shared by soak_bench and the growth test.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace soak {

// What the process holds at one moment.
struct Sample {
    long frames;          // frames presented so far (0 for the sample before the first window)
    long switches;        // F1 switches so far
    size_t heapBytes;     // malloc'd and still in use: arena plus mmapped blocks
    size_t residentBytes; // resident set
    int descriptors;      // open file descriptors
    int textures;         // live GL texture names in the context of the frame sampled
    double framesPerSecond;  // of wall time since the sample before; 0 for the first
};

// A stretch of frames with an F1 switch every `switchEvery` frames (never when 0).
struct Phase {
    long frames;
    long switchEvery;
};

// The whole run: phases in order, a P every `snapshotEvery` frames, a sample every `block` frames
// and at the end of every phase, the window's client size. A sample ends its window with F1 and
// is taken before the next window is made; textures are counted on the frame before.
struct Plan {
    std::vector<Phase> phases;
    long snapshotEvery = 1000;
    long block = 10000;
    int width = 64, height = 48;
};

// What run() returns when the program ended before the plan was done.
const int kEndedEarly = -2;

// Runs the program through the plan in a scratch folder that is removed afterwards, giving every
// sample (the first before the first window) to `onSample`; the program's exit status, or kEndedEarly.
int run(const Plan &plan, const std::function<void(const Sample &)> &onSample);

}  // namespace soak
