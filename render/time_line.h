// The clock's time line: milliseconds of running since the clock started, without the stops in
// between (a process stopped and continued, a machine suspended and resumed, a window minimised),
// so that after one the picture and the frame-rate regulator carry on from where they stopped.
#pragma once

#include <cstdint>

class TimeLine {
public:
    // Milliseconds on the time line for a reading `elapsed` milliseconds after the origin; a step
    // from the reading before that is longer than any frame counts as no time at all.
    int64_t follow(int64_t elapsed);

private:
    int64_t lastElapsed = 0;
    int64_t stopped = 0;  // milliseconds of stops taken off
};
