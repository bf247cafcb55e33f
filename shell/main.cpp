// Program entry: hands the module instance to the shell and returns its exit status. One entry
// for both builds: MinGW's runtime starts a GUI program at main too, and the module handle of
// the program itself is the instance WinMain would have been given.
#include "shell/app.h"

namespace {

// Windows' timer ticks every 15.6 ms by default and Sleep rounds up to whole ticks, so the frame
// delay could only be 15.6 or 31.2 ms and the regulator would swing around 30 frames a second
// without reaching it; at 1 ms Sleep sleeps what the regulator asks for.
const UINT kTimerResolutionMs = 1;

// Holds the system timer at kTimerResolutionMs while it lives: every return from the entry ends
// the period (Windows also ends it if the process is killed).
class FineTimer {
public:
    // Raises the timer resolution.
    FineTimer() : raised_(timeBeginPeriod(kTimerResolutionMs) == TIMERR_NOERROR) {}
    // Puts the timer resolution back, if it was raised.
    ~FineTimer()
    {
        if (raised_)
            timeEndPeriod(kTimerResolutionMs);
    }
    FineTimer(const FineTimer &) = delete;
    FineTimer &operator=(const FineTimer &) = delete;

private:
    bool raised_;
};

}  // namespace

// Runs the shell with the fine timer held.
int main()
{
    FineTimer timer;
    return runApplication(GetModuleHandleA(nullptr));
}
