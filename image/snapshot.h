// Snapshots: the snapshot writer's process-wide state.
#pragma once

#include <cstdint>

// The snapshot writer's process-wide state, at its process-start value.
struct SnapshotState {
    // Snapshot numbers run on across windows and sizes, from 1 in every run.
    int32_t counter = 0;
};

// The snapshot writer's state in this process.
inline SnapshotState snapshotState;
