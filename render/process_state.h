// Process-wide state: everything that outlives one window and its renderer, in one record.
// A full-screen switch builds a new window, renderer and scene; what must carry on across it
// lives here. The default member initialisers are the values the process starts with.
#pragma once

#include "render/time_line.h"
#include "render/wedge.h"

#include <cstdint>

class Kaleidoscope;
class DriftScene;

// The pattern morph: for two seconds after an animated selection the wedge angle eases from
// where it was to the new pattern's.
struct PatternMorph {
    float startAngle = 0;
    bool inProgress = false;
    float targetAngle = 0;
    double startTime = 0;  // on the renderer's clock, as precise as the clock itself
    float duration = 0;
    Wedge temporary = {};  // rebuilt every frame while the morph runs
};

// Each subsystem's share of the state that outlives a window, with its process-start value.
struct ProcessState {
    // The shell: while set, a new pass starts after the current one ends.
    int32_t keepRunning = 0;
    // The shell: mode of the next window; differs from the window's own mode until the next
    // pass starts.
    int32_t fullScreen = 0;
    // The shell: points at the AppWindow's renderer field for the whole run.
    Kaleidoscope **rendererSlot = nullptr;

    // The frame clock, started by the first renderer: later ones keep its time line.
    bool clockStarted = false;
    int64_t clockOrigin = 0;
    int64_t counterFrequency = 1;
    TimeLine timeLine;  // the clock's running time, stops left out
    // The first two frames of the process clear everything, even for a scene that draws on top
    // of its last frame: the buffers hold garbage until then. Not reset by later renderers.
    int32_t forcedFullClears = 2;
    PatternMorph morph;
    // The feedback pass: whether the GL offers its two extensions, and its texture, both set
    // again by every renderer in its own context.
    bool feedbackAvailable = false;
    unsigned feedbackTexture = 0;

    // The most recently constructed drift scene, whose parameters reborn discs read.
    DriftScene *driftScene = nullptr;

    // Snapshot numbers run on across windows and sizes, from 1 in every run.
    int32_t snapshotCounter = 0;
};

// The state of this process.
inline ProcessState processState;
