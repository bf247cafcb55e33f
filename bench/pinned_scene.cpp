#include "bench/pinned_scene.h"

#include "render/random.h"
#include "scene/disc.h"

void pinScene(DriftScene &scene)
{
    seedRandom(1);
    scene.size = 0.5f;
    scene.spin = 700.0f;
    scene.aspect = 0.3f;
    scene.uniform = 0;
    scene.discCell = 0;
    for (int i = 0; i < kDiscCount; ++i)
        respawnDisc(scene.discs[i]);
}
