// The scene factory: kind 0 is the drift scene, the one scene the program has.
#include "render/scene.h"

#include "scene/drift_scene.h"

Scene *createScene(int kind, Kaleidoscope *kaleidoscope)
{
    return kind == 0 ? new DriftScene(kaleidoscope) : nullptr;
}
