// Disc particles: simulation (init, respawn, update) and drawing.
#include "scene/disc.h"

#include "platform/gl.h"
#include "render/kaleidoscope.h"
#include "render/random.h"
#include "scene/drift_scene.h"
#include "scene/textured_quad.h"

#include <cmath>
#include <initializer_list>

namespace {

const double kLifeSeconds = 32.0;
const double kPhasePerSecond = 0.03125;  // 1 / kLifeSeconds
const float kMinimumSpin = 720.0f;       // every disc turns at least twice in its life
const double kSizeFloor = 0.25;
const double kCellPixels = 64.0;
const float kHalfWidth = 1.0f;  // every disc quad is 2 wide
const double kPi = 3.14159265358979323846;
// How far beyond a clip plane every corner of a disc must lie for the disc to be left out, in
// the wedge's units (the planes' normals are unit vectors). The GL's rounding of a corner or a
// plane through its transforms is about a millionth of a unit here, thousands of times less, so
// a disc left out could not have lit a pixel.
const double kClipMargin = 1.0 / 256;

// One corner of a placed disc as the GL's matrix would place it, in the order it sums a product:
// x, then y; the zero z adds nothing.
struct Corner {
    float x, y, z;
};
Corner placeCorner(const DiscPlacement &place, float x, float y)
{
    return {place.axes[0] * x + place.axes[2] * y + place.position[0],
            place.axes[1] * x + place.axes[3] * y + place.position[1], place.position[2]};
}

// Whether all four corners of the placed disc lie more than kClipMargin beyond the plane; the
// quad is their convex hull, so then all of it does.
bool whollyBeyond(const DiscPlacement &place, float halfHeight, const double plane[4])
{
    for (const float x : {-kHalfWidth, kHalfWidth})
        for (const float y : {-halfHeight, halfHeight}) {
            const Corner c = placeCorner(place, x, y);
            if (plane[0] * c.x + plane[1] * c.y + plane[2] * c.z + plane[3] >= -kClipMargin)
                return false;
        }
    return true;
}

}  // namespace

void initDisc(Disc &disc, float phase)
{
    disc.phase = phase;
    respawnDisc(disc);
}

void respawnDisc(Disc &disc)
{
    DriftScene &scene = *currentDriftScene();
    disc.birthTime = scene.kaleidoscope->time - disc.phase * kLifeSeconds;
    if (scene.uniform) {
        disc.spin = scene.spin;
        disc.size = static_cast<float>(scene.size + kSizeFloor);
        disc.cell = scene.discCell;
    } else {
        disc.spin = static_cast<float>(randomFraction() * scene.spin * 2.0);
        disc.size = static_cast<float>(randomFraction() * scene.size + kSizeFloor);
        disc.cell = scene.started ? static_cast<int32_t>(randomFraction() * scene.cellCount)
                                  : scene.discCell;
    }
    disc.halfHeight = scene.aspect;
    if (disc.spin < kMinimumSpin)
        disc.spin = kMinimumSpin;

    const ImageRecord &atlas = scene.images[0];
    const bool hasAtlas = atlas.width > 0 && atlas.height > 0;  // a failed load has no size
    disc.textureWindow[0] = hasAtlas ? static_cast<float>(disc.cell * kCellPixels / atlas.width) : 0;
    disc.textureWindow[1] = 0.0f;
    disc.textureWindow[2] = hasAtlas ? static_cast<float>(kCellPixels / atlas.width) : 0;
    disc.textureWindow[3] = hasAtlas ? static_cast<float>(kCellPixels / atlas.height) : 0;

    const float grey = static_cast<float>(randomFraction() * 0.2 + 0.8);
    disc.colour[0] = disc.colour[1] = disc.colour[2] = grey;
    disc.colour[3] = static_cast<float>((randomFraction() + 1.0) * 0.5);
    disc.position[1] = static_cast<float>(randomFraction() * -2.4);
    disc.position[2] = static_cast<float>(randomFraction() * 2.0);
    disc.angle = static_cast<float>(randomFraction() * 360.0);
}

void updateDisc(Disc &disc)
{
    DriftScene &scene = *currentDriftScene();
    const double edge = scene.kaleidoscope->currentWedge->edgeLength;
    double phase = (scene.kaleidoscope->time - disc.birthTime) * kPhasePerSecond;
    // Tested as stored, so a phase of exactly 1 is no rebirth. The fraction is taken before
    // rounding: a window opened after months starts its discs at a phase of a million lives,
    // whose float would leave only a few fractions.
    const bool reborn = static_cast<float>(phase) > 1.0f;
    if (reborn)  // one rebirth however long the stall: only the fraction is kept
        phase -= std::trunc(phase);
    disc.phase = static_cast<float>(phase);
    if (reborn) {
        scene.tickParameters();
        respawnDisc(disc);
    }
    // From -edge to 2 x edge over a life: the disc enters the wedge (x >= 0) a third of the way.
    disc.position[0] = static_cast<float>(edge * disc.phase * 3.0 - edge);
    disc.angle = static_cast<float>(double(disc.phase) * disc.spin);
}

DiscPlacement discPlacement(const Disc &disc)
{
    // The GL's own steps for push, translate, rotate and scale from an identity matrix (Mesa's,
    // checked bit for bit): the angle in radians worked out in double and rounded to float, its
    // sine and cosine in float; the scale then multiplies the rotation's columns in float. The
    // translation column is the position itself.
    const float radians = static_cast<float>(disc.angle * kPi / 180.0);
    const float sine = std::sin(radians), cosine = std::cos(radians);
    const float k = static_cast<float>((disc.phase * 0.5 + 1.0) * disc.size);  // grows to 1.5x
    return {{cosine * k, sine * k, -sine * k, cosine * k},
            {disc.position[0], disc.position[1], disc.position[2]}};
}

void drawDiscs(const Disc *discs, int count, const Wedge *clip)
{
    glBegin(GL_QUADS);
    // Normal and colour inside the primitive, so they travel with its vertices. Given before
    // glBegin, Mesa takes the colour as a constant of the fragment stage, and llvmpipe then
    // stores a fresh 33 KB fragment state for every disc until the frame is drawn.
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (int i = 0; i < count; ++i) {
        const Disc &disc = discs[i];
        const DiscPlacement place = discPlacement(disc);
        // The planes are given in the discs' own frame in every wedge and its mirror image, so a
        // disc beyond one of them here is clipped away in all of them.
        if (clip && (whollyBeyond(place, disc.halfHeight, clip->plane0) ||
                     whollyBeyond(place, disc.halfHeight, clip->plane1)))
            continue;
        const float *window = disc.textureWindow;
        glColor4fv(disc.colour);
        texturedQuadCorners(kHalfWidth, disc.halfHeight,
                            {window[0], window[1], window[2], window[3]}, [&](float x, float y) {
                                const Corner c = placeCorner(place, x, y);
                                glVertex3f(c.x, c.y, c.z);
                            });
    }
    glEnd();
}
