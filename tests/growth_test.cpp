// Nothing grows while the program runs: after 15,000 frames with 75 F1 switches and 15
// snapshots, the heap, the open file descriptors and the live GL texture names are what they were
// after a warm-up run of the same loop. Memory is not a timing: its figures are asserted.
#include "bench/soak_loop.h"

#include <gtest/gtest.h>

namespace {

// The run: a warm-up that meets every path once (both modes, snapshots, morphs), then the run.
const long kWarmUpFrames = 2000, kRunFrames = 15000, kSwitchEvery = 200;
// Heap noise allowed between the two samples. A leak of one 8-byte entry per frame would hold
// 120 KB after the run; the call log once kept (32 bytes and more a frame) held over 480 KB.
const long kHeapSlack = 64 * 1024;

TEST(Growth, HeapDescriptorsAndTexturesAfterTheRunEqualThoseAfterTheWarmUp)
{
    soak::Plan plan;
    plan.phases = {{kWarmUpFrames, kSwitchEvery}, {kRunFrames, kSwitchEvery}};
    plan.block = kWarmUpFrames + kRunFrames;  // samples at the two phase ends only
    std::vector<soak::Sample> samples;
    ASSERT_EQ(soak::run(plan, [&](const soak::Sample &s) { samples.push_back(s); }), 0);
    ASSERT_EQ(samples.size(), 3u);  // before the first window, after the warm-up, after the run
    const soak::Sample &warm = samples[1], &end = samples[2];
    ASSERT_EQ(end.frames - warm.frames, kRunFrames);
    ASSERT_EQ(end.switches - warm.switches, kRunFrames / kSwitchEvery);
    EXPECT_NEAR(double(end.heapBytes), double(warm.heapBytes), double(kHeapSlack))
        << "heap grew by " << long(end.heapBytes - warm.heapBytes) << " bytes";
    EXPECT_EQ(end.descriptors, warm.descriptors);
    EXPECT_EQ(end.textures, warm.textures);
}

}  // namespace
