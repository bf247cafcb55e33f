// The renderer's snapshots: key presses queued until a frame is drawn, then written at the
// viewport's size.
#include "render/kaleidoscope.h"

#include "image/snapshot.h"

void Kaleidoscope::takeSnapshot() { writeSnapshot(viewportWidth, viewportHeight); }

void Kaleidoscope::queueSnapshot() { ++queuedSnapshots; }

void Kaleidoscope::writeQueuedSnapshots()
{
    // One file per key press, every one of the same freshly drawn frame.
    for (; queuedSnapshots > 0; --queuedSnapshots)
        takeSnapshot();
}
