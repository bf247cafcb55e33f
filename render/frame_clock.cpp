// The frame clock and its regulator: seconds run since the process's first renderer, stops left
// out, and once a second a nudge of the frame delay toward the target rate.
#include "render/kaleidoscope.h"

#include "platform/win32.h"
#include "render/render_state.h"

namespace {

const float kStartingRate = 50.0f;
const int32_t kMinimumDelay = 1;
const int32_t kMaximumDelay = 1000;

// Whole milliseconds since the origin. Split so that a counter running at 1e9 per second
// cannot overflow the multiplication: the same result as (d x 1000) / f.
int64_t elapsedMilliseconds()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const int64_t f = renderState.counterFrequency;
    const int64_t d = now.QuadPart - renderState.clockOrigin;
    return (d / f) * 1000 + (d % f) * 1000 / f;
}

}  // namespace

void Kaleidoscope::startClock()
{
    if (renderState.clockStarted)
        return;
    LARGE_INTEGER frequency, origin;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&origin);
    renderState.counterFrequency = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    renderState.clockOrigin = origin.QuadPart;
    renderState.clockStarted = true;
    framesSinceMeasurement = 0;
    measuredRate = kStartingRate;
    time = 0.0;
}

void Kaleidoscope::tickClock()
{
    time = renderState.timeLine.follow(elapsedMilliseconds()) * 0.001;
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
