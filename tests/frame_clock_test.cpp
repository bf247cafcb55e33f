// The frame clock and its regulator, driven by a counter the test controls.
#include "support/gl_window_test.h"

namespace {

const int64_t kTicksPerSecond = 1000000000;  // as SDL's counter runs

class FrameClock : public GLWindowTest {
protected:
    void SetUp() override { openWindow(64, 64); }
    void setSeconds(double s) { seam::setCounter(kTicksPerSecond, int64_t(s * kTicksPerSecond)); }
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
    setSeconds(5.0);
    first->tickClock();
    delete first;

    appWindow.renderer = newRenderer(5.0);  // the clock is not restarted
    Kaleidoscope &second = *appWindow.renderer;
    EXPECT_EQ(second.frameDelay, 41);
    EXPECT_FLOAT_EQ(second.measuredRate, 10.0f);
    setSeconds(5.5);
    second.tickClock();  // more than a second since its last measurement time, 0
    EXPECT_FLOAT_EQ(second.time, 5.5f);
    EXPECT_EQ(second.frameDelay, 8);  // 41 + (33 - 100) / 2
    EXPECT_FLOAT_EQ(second.measuredRate, 0.0f);
    setSeconds(7.0);
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

TEST_F(FrameClock, DelayStaysWithinOneToAThousandMilliseconds)
{
    appWindow.renderer = newRenderer(0.0);
    Kaleidoscope &k = *appWindow.renderer;
    k.measuredRate = 1.0f;  // far too slow: the delay drops by 483
    setSeconds(2.0);
    k.tickClock();
    EXPECT_EQ(k.frameDelay, 1);
    k.frameDelay = 995;
    k.measuredRate = 5000.0f;  // far too fast: the delay grows by 16
    setSeconds(4.0);
    k.tickClock();
    EXPECT_EQ(k.frameDelay, 1000);
}

TEST_F(FrameClock, RegulatorStepsInWholeMillisecondsAsIntegerDivisionGivesThem)
{
    appWindow.renderer = newRenderer(0.0);
    Kaleidoscope &k = *appWindow.renderer;
    // (33 - 29) / 2 and (33 - 27) / 2; fractional frame times would give 1.96 and 2.78.
    const struct {
        float rate;
        int32_t delay;
    } cases[] = {{34.0f, 43}, {36.0f, 44}};
    double now = 0.0;
    for (const auto &c : cases) {
        k.frameDelay = 41;
        k.measuredRate = c.rate;
        now += 2.0;
        setSeconds(now);
        k.tickClock();
        EXPECT_EQ(k.frameDelay, c.delay) << c.rate << " frames per second";
    }
}

TEST_F(FrameClock, MillisecondsStayExactAfterMonthsOfNanosecondTicks)
{
    appWindow.renderer = newRenderer(0.0);
    Kaleidoscope &k = *appWindow.renderer;
    const double days200 = 200.0 * 86400.0;  // d x 1000 would overflow 64 bits after ~107 days
    setSeconds(days200 + 0.5);
    k.tickClock();
    EXPECT_DOUBLE_EQ(k.time, days200 + 0.5);
    const double before = k.time;
    seam::setCounter(kTicksPerSecond, int64_t(days200) * kTicksPerSecond + 501000000);
    k.tickClock();  // one millisecond on
    EXPECT_NEAR(k.time - before, 0.001, 1e-6);
}

}  // namespace
