// Pattern selection and the morph: for two seconds after an animated selection the wedge
// angle eases from where it was to the new pattern's, and the wedge is rebuilt every frame.
#include "render/kaleidoscope.h"

#include "render/render_state.h"
#include "render/random.h"

namespace {

const float kMorphSeconds = 2.0f;

// Kept in the renderer's process-wide state, so a morph carries on across the re-creation of the window and
// renderer.
PatternMorph &morph = renderState.morph;

// Eased angle at fraction d (0...1) of the morph.
float easedAngle(double d)
{
    return static_cast<float>(morph.startAngle +
                              d * d * (3.0 - 2.0 * d) * (double(morph.targetAngle) - morph.startAngle));
}

}  // namespace

void Kaleidoscope::selectPattern(int index, bool animate)
{
    const Wedge *previous = currentWedge;
    currentWedge = &wedges[((index % kPatternCount) + kPatternCount) % kPatternCount];
    if (!animate)
        return;
    if (morph.inProgress) {  // restart from the angle the running morph has reached
        double d = (time - morph.startTime) / morph.duration;
        if (d > 1.0)
            d = 1.0;
        morph.startAngle = easedAngle(d);
    } else {
        morph.inProgress = true;
        morph.startAngle = previous ? previous->angle : currentWedge->angle;
    }
    morph.startTime = time;
    morph.duration = kMorphSeconds;
    morph.targetAngle = currentWedge->angle;
}

void Kaleidoscope::selectRandomPattern(bool animate)
{
    selectPattern(static_cast<int>(randomFraction() * kPatternCount), animate);
}

const Wedge &Kaleidoscope::wedgeForFrame()
{
    if (!morph.inProgress)
        return *currentWedge;
    double d = (time - morph.startTime) / morph.duration;
    if (d >= 1.0) {
        morph.inProgress = false;
        d = 1.0;
    }
    buildWedge(morph.temporary, easedAngle(d));
    return morph.temporary;
}
