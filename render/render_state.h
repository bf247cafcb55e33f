// The renderer's process-wide state: what outlives one window and its renderer, because a
// full-screen switch builds a new window, renderer and scene and the picture must carry on. The
// default member initialisers are the values the process starts with.
#pragma once

#include "render/time_line.h"
#include "render/wedge.h"

#include <cstdint>

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

struct RenderState {
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
};

// The renderer's state in this process.
inline RenderState renderState;
