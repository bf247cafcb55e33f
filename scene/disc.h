// A disc particle: a soft textured quad that drifts across the wedge, turning as it goes, and
// is reborn every 32 seconds from the drift scene's shared parameters.
#pragma once

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
// Draws the disc as one textured quad.
void drawDisc(const Disc &disc);
