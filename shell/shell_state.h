// The shell's process-wide state: what carries on from one window's pass to the next. The
// default member initialisers are the values the process starts with.
#pragma once

#include <cstdint>

class Kaleidoscope;

struct ShellState {
    // While set, a new pass starts after the current one ends.
    int32_t keepRunning = 0;
    // Mode of the next window; differs from the window's own mode until the next pass starts.
    int32_t fullScreen = 0;
    // Points at the AppWindow's renderer field for the whole run.
    Kaleidoscope **rendererSlot = nullptr;
};

// The shell's state in this process.
inline ShellState shellState;
