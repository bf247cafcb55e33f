// A disc particle: a soft textured quad that drifts across the wedge, turning as it goes, and
// is reborn every 32 seconds from the drift scene's shared parameters.
#pragma once

#include "render/wedge.h"

#include <cstdint>

struct Disc {
    float position[3];
    float phase;      // fraction of the life elapsed, 0...1
    double birthTime;  // Kaleidoscope time at which phase was 0, as precise as the clock
    float size;
    float spin;   // degrees turned over one life; at least 720
    float angle;  // degrees about the view axis
    int32_t cell;  // 64 x 64 cell of the disc atlas
    float textureWindow[4];  // s offset, t offset, s extent, t extent
    float colour[4];         // grey, grey, grey, alpha
    float halfHeight;        // the quad is always 2 wide
};

// Sets the disc's phase and gives it a fresh life at that phase.
void initDisc(Disc &disc, float phase);
// Fresh values for a new life, drawn from the current drift scene's parameters.
void respawnDisc(Disc &disc);
// Advances the disc to the current time; a disc past the end of its life is reborn.
void updateDisc(Disc &disc);
// Where a disc's quad lies in its wedge: the matrix that translating to its position, turning by
// its angle and scaling by its size would make, as a 2 x 2 turn-and-scale and a translation.
struct DiscPlacement {
    float axes[4];  // images of the x and y axes: (axes[0], axes[1]) and (axes[2], axes[3])
    float position[3];
};
// The disc's placement, computed as the GL computes its matrix stack.
DiscPlacement discPlacement(const Disc &disc);
// The discs as one GL_QUADS primitive, each a textured quad in its colour, its corners placed on
// the CPU: the many discs of a frame are one draw, not one per disc. Given a wedge, the discs
// wholly beyond one of its clip planes are left out: the GL would clip every pixel of them.
void drawDiscs(const Disc *discs, int count, const Wedge *clip);
