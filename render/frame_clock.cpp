// The frame clock and its regulator: seconds run since the process's first renderer, stops left
// out, and once a second a nudge of the frame delay toward the target rate.
#include "render/kaleidoscope.h"

#include "platform/win32.h"
#include "render/time_line.h"

namespace {

const float kStartingRate = 50.0f;
const int32_t kMinimumDelay = 1;
const int32_t kMaximumDelay = 1000;

// Process-wide: later renderers keep the first one's time line.
bool clockStarted = false;
int64_t clockOrigin = 0;
int64_t counterFrequency = 1;
TimeLine timeLine;

// Whole milliseconds since the origin. Split so that a counter running at 1e9 per second
// cannot overflow the multiplication: the same result as (d x 1000) / f.
int64_t elapsedMilliseconds()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const int64_t d = now.QuadPart - clockOrigin;
    return (d / counterFrequency) * 1000 + (d % counterFrequency) * 1000 / counterFrequency;
}

}  // namespace

void Kaleidoscope::startClock()
{
    if (clockStarted)
        return;
    LARGE_INTEGER frequency, origin;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&origin);
    counterFrequency = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    clockOrigin = origin.QuadPart;
    clockStarted = true;
    framesSinceMeasurement = 0;
    measuredRate = kStartingRate;
    time = 0.0;
}

void Kaleidoscope::tickClock()
{
    time = timeLine.follow(elapsedMilliseconds()) * 0.001;
    const double sinceMeasurement = time - lastMeasurementTime;
    if (sinceMeasurement < 1.0) {
        ++framesSinceMeasurement;
        return;
    }
    // The regulator answers the rate of the interval before the one just measured.
    const int32_t previousRate = static_cast<int32_t>(measuredRate);
    measuredRate = static_cast<float>(framesSinceMeasurement / sinceMeasurement);
    framesSinceMeasurement = 0;
    lastMeasurementTime = time;
    if (previousRate > 0)
        frameDelay += (1000 / targetRate - 1000 / previousRate) / 2;
    if (frameDelay < kMinimumDelay)
        frameDelay = kMinimumDelay;
    if (frameDelay > kMaximumDelay)
        frameDelay = kMaximumDelay;
}
