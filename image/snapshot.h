// Snapshots: a picture of the GL read buffer written as a numbered PNG in the current directory.
#pragma once

#include <cstdint>

// The snapshot writer's process-wide state, at its process-start value.
struct SnapshotState {
    // Snapshot numbers run on across windows and sizes, from 1 in every run.
    int32_t counter = 0;
};

// The snapshot writer's state in this process.
inline SnapshotState snapshotState;

// Writes the read buffer's lower left width x height pixels as the next free
// snap_WIDTH_x_HEIGHT_N.png; failures are reported on stderr and still take their number.
void writeSnapshot(int width, int height);
