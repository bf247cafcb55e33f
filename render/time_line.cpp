// Stops taken off the clock's time line.
#include "render/time_line.h"

namespace {

// A frame sleeps at most a second (the regulator's longest delay) and draws in well under one:
// a step five times that long is a stop, not a frame.
const int64_t kLongestFrameMs = 5000;

}  // namespace

int64_t TimeLine::follow(int64_t elapsed)
{
    if (elapsed - lastElapsed > kLongestFrameMs)
        stopped += elapsed - lastElapsed;
    lastElapsed = elapsed;
    return elapsed - stopped;
}
