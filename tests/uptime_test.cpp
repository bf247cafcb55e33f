// Months of uptime: the picture must move as smoothly as in its first minute. The counter is
// driven by hand and run on as if the program had been running for days; frames come 30 a second.
// Each case also prints what it measured, so that
//   SDL_VIDEODRIVER=offscreen ctest --test-dir build -R Uptime -V | grep days:
// gives the table of what the picture sees at each uptime.
#include "support/gl_window_test.h"

#include "scene/drift_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace {

const int64_t kTicksPerDay = 86400 * kTicksPerSecond;
const int64_t kFrameTicks = kTicksPerSecond / 30;
// Runs start at an odd moment, as a key press or a re-roll would, not on a whole second.
const int64_t kOddMoment = 777 * kTicksPerMillisecond;
const int64_t kFirstMinute = 30 * kTicksPerSecond + kOddMoment;  // the reference runs
const int kFrames = 90;
const double kMorphSeconds = 2.0;
const double kGradientTurn = 8.0;  // degrees per second
const double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
const double kAngleTolerance = 1e-4;  // degrees: a float angle below one turn is finer still

// What one morph looked like: frames drawn with an in-between wedge, and how many angles.
struct MorphRun {
    int frames = 0;
    size_t angles = 0;
};

// Difference of two angles in degrees, brought into -180...180.
double angleStep(double from, double to) { return std::remainder(to - from, 360.0); }

class Uptime : public GLWindowTest, public ::testing::WithParamInterface<int> {
protected:
    // The clock starts at counter 0 with the first renderer, as at program start.
    void SetUp() override { openRendererAt(64, 64, 0.0); }
    Kaleidoscope &k() { return *appWindow.renderer; }
    int64_t uptime() const { return GetParam() * kTicksPerDay + kOddMoment; }
    // Runs the clock on to that counter value as a program running until then would tick it.
    void runTo(int64_t value)
    {
        runClockBetween(k(), ticks, value);
        ticks = value;
    }
    // Moves the counter on and ticks the clock, as one frame does.
    void frameAfter(int64_t step)
    {
        ticks += step;
        seam::setCounter(kTicksPerSecond, ticks);
        k().tickClock();
    }

    // A morph from 12 to 24 wedges started at `start`, followed frame by frame to its end.
    MorphRun morphFrom(int64_t start)
    {
        runTo(start);
        k().tickClock();
        k().selectPattern(1, false);
        k().selectPattern(7, true);
        MorphRun run;
        std::set<float> angles;
        for (int i = 0; i < 10 * kFrames; ++i) {
            frameAfter(kFrameTicks);
            const Wedge &wedge = k().wedgeForFrame();
            if (&wedge == k().currentWedge)
                break;
            ++run.frames;
            angles.insert(wedge.angle);
        }
        run.angles = angles.size();
        return run;
    }

    // Distinct birth times of the 100 discs, all reborn by a frame at `at`.
    size_t distinctBirthTimes(int64_t at)
    {
        runTo(at);
        k().tickClock();
        k().scene->update();  // more than a life since the start: every disc is reborn
        std::set<double> births;
        for (int i = 0; i < kDiscCount; ++i)
            births.insert(currentDriftScene()->discs[i].birthTime);
        return births.size();
    }

    // The angle of the turning frame the discs are drawn in, read back from the GL.
    double discFrameAngle()
    {
        glLoadIdentity();
        k().scene->beginFrame(1);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        k().scene->endFrame();
        return std::atan2(m[1], m[0]) * kDegreesPerRadian;
    }

    // Per-frame advance of the time, in seconds, and of the gradient and of the disc frame, in
    // degrees, over kFrames frames from `start` on, after one frame at `start`.
    struct Steps {
        std::vector<double> time, gradient, discFrame;
    };
    Steps stepsFrom(int64_t start)
    {
        runTo(start);
        k().tickClock();
        Steps steps;
        double lastTime = k().time, lastGradient = turnAngle(k().time, kGradientTurn);
        double lastFrame = discFrameAngle();
        for (int i = 0; i < kFrames; ++i) {
            frameAfter(kFrameTicks);
            const double nowGradient = turnAngle(k().time, kGradientTurn), nowFrame = discFrameAngle();
            steps.time.push_back(k().time - lastTime);
            steps.gradient.push_back(angleStep(lastGradient, nowGradient));
            steps.discFrame.push_back(angleStep(lastFrame, nowFrame));
            lastTime = k().time;
            lastGradient = nowGradient;
            lastFrame = nowFrame;
        }
        return steps;
    }

    int64_t ticks = 0;
};

TEST_P(Uptime, MorphLastsTwoSecondsAndDrawsAsManyAnglesAsInTheFirstMinute)
{
    const MorphRun first = morphFrom(kFirstMinute);
    const MorphRun late = morphFrom(uptime());
    EXPECT_NEAR(late.frames * double(kFrameTicks) / kTicksPerSecond, kMorphSeconds,
                double(kFrameTicks) / kTicksPerSecond);
    EXPECT_EQ(late.angles, first.angles);
    EXPECT_GT(first.angles, 50u);
    printf("%d days: a morph lasts %.3f s and draws %zu angles (first minute: %zu)\n", GetParam(),
           late.frames * double(kFrameTicks) / kTicksPerSecond, late.angles, first.angles);
}

TEST_P(Uptime, DiscBirthTimesStayAsDistinctAsInTheFirstMinute)
{
    // Disc 99 starts at phase 1.0, a life behind disc 0, so the two share their birth time
    // from the first frame on: 99 distinct times is what every run starts with.
    const size_t first = distinctBirthTimes(kFirstMinute + 10 * kTicksPerSecond);
    const size_t late = distinctBirthTimes(uptime());
    EXPECT_EQ(first, size_t(kDiscCount - 1));
    EXPECT_EQ(late, first);
    printf("%d days: %zu distinct disc birth times (first minute: %zu)\n", GetParam(), late, first);
}

TEST_P(Uptime, EachFrameSeesTheCountersStepAndTheLayersTurnAsInTheFirstMinute)
{
    const Steps first = stepsFrom(kFirstMinute), late = stepsFrom(uptime());
    const double counterStep = double(kFrameTicks) / kTicksPerSecond;
    double worstTime = 0, worstTurn = 0;
    for (int i = 0; i < kFrames; ++i) {
        EXPECT_NEAR(late.time[i], counterStep, 0.001) << "frame " << i;
        EXPECT_NEAR(late.gradient[i], first.gradient[i], kAngleTolerance) << "frame " << i;
        EXPECT_NEAR(late.discFrame[i], first.discFrame[i], kAngleTolerance) << "frame " << i;
        worstTime = std::max(worstTime, std::fabs(late.time[i] - counterStep));
        worstTurn = std::max({worstTurn, std::fabs(late.gradient[i] - first.gradient[i]),
                              std::fabs(late.discFrame[i] - first.discFrame[i])});
    }
    printf("%d days: frame step off the counter's by up to %.2f ms; turning layers step up to "
           "%.5f degrees a frame off the first minute's\n", GetParam(), worstTime * 1000.0, worstTurn);
}

TEST_P(Uptime, RegulatorSettlesAtThirtyFramesASecond)
{
    runTo(uptime());
    const std::vector<float> rates = regulatedRates(k(), ticks, 60);
    ASSERT_GE(rates.size(), 9u);
    for (float rate : rates)
        EXPECT_NEAR(rate, 30, 2);
    printf("%d days: the regulator settles at %.1f to %.1f frames a second\n", GetParam(),
           *std::min_element(rates.begin(), rates.end()), *std::max_element(rates.begin(), rates.end()));
}

INSTANTIATE_TEST_SUITE_P(Days, Uptime, ::testing::Values(1, 7, 30, 200, 400),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::to_string(info.param) + "Days";
                         });

}  // namespace
