// Soak benchmark: the whole program run for many frames at a small size on a hand-driven clock,
// first in long windows (one per block of frames: each sample is taken between two windows),
// then with an F1 switch every so many frames, a snapshot every 1,000 frames. Prints what the process holds after every block of frames, then the growth per frame
// (from the long-window stretch) and per switch (from the switching stretch, less its frames'
// share), in bytes or counts, and what the growth per frame would come to after 200 days at
// 30 fps.
// Usage: soak_bench [FRAMES SWITCHES]   (defaults 100000 1000: half the frames in long windows)
#include "bench/soak_loop.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Frames and switches of the warm-up before anything is counted as growth.
const long kWarmUpFrames = 2000, kWarmUpSwitchEvery = 200;
// Frames that 200 days at 30 frames per second present.
const double kFramesIn200Days = 200.0 * 24 * 3600 * 30;
const double kKiB = 1024, kMiB = 1024 * 1024;

// Prints one row of the table.
void printSample(const soak::Sample &s)
{
    printf("%8ld %8ld %9.0f %9.0f %5d %8d %8.0f\n", s.frames, s.switches, s.heapBytes / kKiB,
           s.residentBytes / kKiB, s.descriptors, s.textures, s.framesPerSecond);
    fflush(stdout);
}

// Prints one quantity's growth per frame, per switch, and per frame over 200 days.
void printGrowth(const char *what, double perFrame, double perSwitch, double unit,
                 const char *unitName)
{
    printf("  %-12s %+10.4f per frame %+12.1f per switch   after 200 days: %+.1f %s\n", what,
           perFrame, perSwitch, perFrame * kFramesIn200Days / unit, unitName);
}

}  // namespace

int main(int argc, char **argv)
{
    const long frames = argc > 1 ? atol(argv[1]) : 100000;
    const long switches = argc > 2 ? atol(argv[2]) : 1000;
    const long half = frames / 2;
    soak::Plan plan;
    plan.phases = {{kWarmUpFrames, kWarmUpSwitchEvery}, {half, 0},
                   {half, switches > 0 ? half / switches : 0}};
    plan.block = std::max(half / 5, 1L);
    printf("soak: %dx%d window, warm-up %ld frames; %ld frames in windows of %ld; %ld frames "
           "with an F1 switch every %ld; P every %ld frames\n",
           plan.width, plan.height, kWarmUpFrames, half, plan.block, half,
           plan.phases[2].switchEvery, plan.snapshotEvery);
    printf("  frames switches   heap KB    RSS KB   fds textures      fps\n");
    std::vector<soak::Sample> samples;
    const int status = soak::run(plan, [&](const soak::Sample &s) {
        printSample(s);
        samples.push_back(s);
    });
    if (status != 0 || samples.size() < 3) {
        fprintf(stderr, "soak_bench: the program ended with status %d\n", status);
        return 1;
    }
    // Growth per frame over the long-window stretch (a switch per block, so few); growth per
    // switch over the switching stretch after its first block, less its frames' share.
    const soak::Sample *mid = nullptr, *still = nullptr, *switching = nullptr;
    const soak::Sample *end = &samples.back();
    for (const soak::Sample &s : samples) {
        if (!mid && s.frames >= kWarmUpFrames)
            mid = &s;
        if (s.frames == kWarmUpFrames + half)
            still = &s;
        if (!switching && s.frames > kWarmUpFrames + half)
            switching = &s;
    }
    if (!mid || !still || !switching || mid == still) {
        fprintf(stderr, "soak_bench: too few frames to sample both stretches\n");
        return 1;
    }
    const double stillFrames = still->frames - mid->frames;
    const double switchFrames = end->frames - switching->frames;
    const double switched = end->switches - switching->switches;
    auto growth = [&](auto field, double unit, const char *what, const char *unitName) {
        const double perFrame = (double(field(*still)) - double(field(*mid))) / stillFrames;
        const double rest =
            double(field(*end)) - double(field(*switching)) - perFrame * switchFrames;
        printGrowth(what, perFrame, switched > 0 ? rest / switched : 0, unit, unitName);
    };
    printf("growth per frame from frame %ld to %ld, per switch from frame %ld to %ld:\n",
           mid->frames, still->frames, switching->frames, end->frames);
    growth([](const soak::Sample &s) { return s.heapBytes; }, kMiB, "heap", "MiB");
    growth([](const soak::Sample &s) { return s.residentBytes; }, kMiB, "resident", "MiB");
    growth([](const soak::Sample &s) { return s.descriptors; }, 1, "descriptors", "");
    growth([](const soak::Sample &s) { return s.textures; }, 1, "textures", "");
    return 0;
}
