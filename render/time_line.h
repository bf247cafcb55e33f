// The clock's time line: milliseconds since the clock started, less every step between two
// readings too long to be a frame (over 5 s: a process stopped and continued, a machine suspended
// and resumed, a window minimised that long), so that after one the picture and the frame-rate
// regulator carry on from where they stopped. Shorter pauses count as running time.
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
