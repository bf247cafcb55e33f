// The drift scene with its discs pinned, for the benchmarks and tests that compare pictures.
#pragma once

#include "scene/drift_scene.h"

// Gives the discs middling, repeatable lives from a pinned generator, whatever the renderer's
// seed (it seeds from the clock): the picture then depends only on the clock and the drawing.
void pinScene(DriftScene &scene);
