// The frame clock and its regulator, driven by a counter the test controls.
#include "support/gl_window_test.h"

#include "scene/drift_scene.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const double kLateInASecond = 0.9;                     // seconds into a measuring interval

class FrameClock : public GLWindowTest {
protected:
    void SetUp() override { openWindow(64, 64); }
    // A renderer made with the counter at that many seconds.
    Kaleidoscope *newRenderer(double atSeconds)
    {
        setSeconds(atSeconds);
        return new Kaleidoscope(64, 64);
    }
};

TEST_F(FrameClock, RendererAfterAModeSwitchStepsFrom41To8AndThenHolds)
{
    Kaleidoscope *first = newRenderer(0.0);
    EXPECT_FLOAT_EQ(first->measuredRate, 50.0f);
    setSeconds(3.0);
    first->tickClock();
    delete first;

    appWindow.renderer = newRenderer(3.0);  // the clock is not restarted
    Kaleidoscope &second = *appWindow.renderer;
    EXPECT_EQ(second.frameDelay, 41);
    EXPECT_FLOAT_EQ(second.measuredRate, 10.0f);
    setSeconds(3.5);
    second.tickClock();  // more than a second since its last measurement time, 0
    EXPECT_FLOAT_EQ(second.time, 3.5f);
    EXPECT_EQ(second.frameDelay, 8);  // 41 + (33 - 100) / 2
    EXPECT_FLOAT_EQ(second.measuredRate, 0.0f);
    setSeconds(5.0);
    second.tickClock();  // a measured rate of 0 leaves the delay alone
    EXPECT_EQ(second.frameDelay, 8);
}

TEST_F(FrameClock, CountsFramesWithinASecondAndMeasuresAfterIt)
{
    appWindow.renderer = newRenderer(100.0);
    Kaleidoscope &k = *appWindow.renderer;
    for (int frame = 1; frame <= 20; ++frame) {
        setSeconds(100.0 + frame * 0.045);
        k.tickClock();
    }
    EXPECT_EQ(k.framesSinceMeasurement, 20);
    EXPECT_EQ(k.frameDelay, 41);
    setSeconds(101.0);
    k.tickClock();  // the measuring frame is not counted
    EXPECT_FLOAT_EQ(k.measuredRate, 20.0f);
    EXPECT_EQ(k.framesSinceMeasurement, 0);
    EXPECT_EQ(k.frameDelay, 41 + (33 - 1000 / 50) / 2);  // answers the rate before: 50
}

TEST_F(FrameClock, RegulatorStepsInWholeMillisecondsWithinOneToAThousand)
{
    appWindow.renderer = newRenderer(0.0);
    Kaleidoscope &k = *appWindow.renderer;
    const struct {
        float rate;
        int32_t delayBefore, delay;
    } cases[] = {
        {34.0f, 41, 43},      // (33 - 29) / 2: fractional frame times would give 1.96
        {36.0f, 41, 44},      // (33 - 27) / 2: and 2.78
        {1.0f, 41, 1},        // far too slow: the delay would drop by 483
        {5000.0f, 995, 1000}, // far too fast: it would grow by 16
    };
    double now = 0.0;
    for (const auto &c : cases) {
        k.frameDelay = c.delayBefore;
        k.measuredRate = c.rate;
        now += 2.0;
        setSeconds(now);
        k.tickClock();
        EXPECT_EQ(k.frameDelay, c.delay) << c.rate << " frames per second";
    }
}

// What one frame changed: time, disc rebirths and the wedge angle drawn.
struct FrameStep {
    double time;
    int rebirths;
    double angle;
};

// The frames of a run on a counter that moves by each frame's cost plus its frame delay.
class RunningClock : public FrameClock {
protected:
    void SetUp() override
    {
        FrameClock::SetUp();
        appWindow.renderer = newRenderer(0.0);
        scene = currentDriftScene();
        scene->rerollPeriod = 1000000;  // count the rebirths without re-rolling
        scene->rerollCount = 0;
    }
    Kaleidoscope &k() { return *appWindow.renderer; }
    // One frame as renderFrame runs it for time, discs and morph, without drawing; the counter
    // then moves on by the frame's cost and the delay slept after it.
    FrameStep frame()
    {
        const double timeBefore = k().time;
        const int rebirthsBefore = scene->rerollCount;
        const double angleBefore = k().wedgeForFrame().angle;
        k().tickClock();
        scene->update();
        const FrameStep step = {k().time - timeBefore, scene->rerollCount - rebirthsBefore,
                                std::fabs(k().wedgeForFrame().angle - angleBefore)};
        advance(kFrameCost + k().frameDelay * kTicksPerMillisecond);
        return step;
    }
    // Moves the counter on.
    void advance(int64_t step)
    {
        ticks += step;
        seam::setCounter(kTicksPerSecond, ticks);
    }
    // Frames for at least that many seconds, ending late in a measuring second so that a stop
    // after them lands where most of a second's frames are counted; the largest change of each
    // kind they made.
    FrameStep ordinaryFrames(double seconds)
    {
        FrameStep largest = {0, 0, 0};
        const int64_t end = ticks + int64_t(seconds * kTicksPerSecond);
        while (ticks < end || k().time - k().lastMeasurementTime < kLateInASecond) {
            const FrameStep step = frame();
            largest = {std::max(largest.time, step.time), std::max(largest.rebirths, step.rebirths),
                       std::max(largest.angle, step.angle)};
        }
        return largest;
    }

    DriftScene *scene = nullptr;
    int64_t ticks = 0;
};

// A process stopped (a suspended laptop, a debugger, kill -STOP) carries on from the picture it
// stopped at: the first frame after it moves no further than an ordinary frame, and the
// regulator keeps its pace.
TEST_F(RunningClock, StopResumesWhereThePictureAndThePaceStopped)
{
    for (int stopSeconds : {10, 30}) {
        ordinaryFrames(20.0);  // the regulator settles
        k().selectPattern(1, false);
        k().selectPattern(7, true);  // a morph from 12 to 24 wedges is under way when it stops
        const FrameStep ordinary = ordinaryFrames(0.5);
        advance(stopSeconds * kTicksPerSecond);
        const FrameStep resumed = frame();
        EXPECT_LE(resumed.time, ordinary.time) << stopSeconds << " s stop";
        EXPECT_LE(resumed.rebirths, std::max(ordinary.rebirths, 1)) << stopSeconds << " s stop";
        EXPECT_LE(resumed.angle, ordinary.angle) << stopSeconds << " s stop: the morph jumped";
        for (float rate : regulatedRates(k(), ticks, 10, [&] { scene->update(); }))
            EXPECT_NEAR(rate, 30, 2) << "frames a second after a " << stopSeconds << " s stop";
    }
}

}  // namespace
