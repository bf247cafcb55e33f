// Renderer construction, projection and the frame with its mirrored wedge loop.
#include "render/kaleidoscope.h"

#include "platform/gl.h"
#include "render/render_state.h"
#include "render/random.h"
#include "render/view.h"

#include <ctime>

namespace {

const int32_t kTargetRate = 30;
const int32_t kInitialFrameDelay = 41;
const float kInitialMeasuredRate = 10.0f;
// The feedback overlay: twelve layers, each showing 0.02 less of the capture on every side.
const int kFeedbackLayers = 12;
const float kFeedbackLayerStep = 0.02f;

}  // namespace

Kaleidoscope::Kaleidoscope(int width, int height)
{
    seedRandom(static_cast<unsigned>(static_cast<long long>(std::time(nullptr)) % 256));
    nextRandom();
    viewportWidth = width;
    viewportHeight = height;
    targetRate = kTargetRate;
    frameDelay = kInitialFrameDelay;
    applyProjection();
    sceneKind = 0;
    for (int k = 0; k < kPatternCount; ++k)
        buildWedge(wedges[k], 360.0f / static_cast<float>(wedgeCountOf(k)));
    selectRandomPattern(false);
    mirrorsOn = 1;
    depthSetup = 1;
    measuredRate = kInitialMeasuredRate;
    startClock();
    scene = createScene(sceneKind, this);
    scene->start();
    if (depthSetup) {
        glClearDepth(1.0);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    }
    setUpFeedback();
}

Kaleidoscope::~Kaleidoscope() { delete scene; }

void Kaleidoscope::resize(int width, int height)
{
    viewportWidth = width;
    viewportHeight = height;
    applyProjection();
}

void Kaleidoscope::applyProjection()
{
    glViewport(0, 0, viewportWidth, viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A zero-height window would give an infinite aspect and a matrix of NaNs.
    const double aspect =
        viewportHeight > 0 ? static_cast<double>(viewportWidth) / viewportHeight : 1.0;
    gluPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
}

bool Kaleidoscope::renderFrame(unsigned flags)
{
    int32_t &forcedFullClears = renderState.forcedFullClears;
    const bool fullClear = !scene->drawsIncrementally() || forcedFullClears > 0 || feedbackWanted();
    mirrorsOn = (flags & kMirrorsRequested) ? 1 : 0;
    if (!scene->allowsMirrors() || mirrorsOff)
        mirrorsOn = 0;
    if (fullClear) {
        glDrawBuffer(GL_BACK);
        // The depth buffer only while depth testing is on: the drift scene turns it off in its
        // first frame and never reads depth again, and clearing it would cost llvmpipe 2 % of a
        // full-screen frame for nothing.
        glClear(GL_COLOR_BUFFER_BIT | (glIsEnabled(GL_DEPTH_TEST) ? GL_DEPTH_BUFFER_BIT : 0));
    } else {
        glDrawBuffer(GL_FRONT);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    if (forcedFullClears > 0)
        --forcedFullClears;

    placeCamera();
    tickClock();
    scene->update();
    const Wedge &wedge = wedgeForFrame();
    if (feedbackWanted())
        captureFeedback(wedge);
    drawWedges(wedge, 1);
    if (feedbackWanted())
        drawFeedbackOverlay(kFeedbackLayers, kFeedbackLayerStep);
    glFlush();
    return fullClear;
}

void Kaleidoscope::drawWedges(const Wedge &wedge, int mainPass)
{
    // Set before beginFrame, so the scene can leave out what the planes would clip anyway.
    clippingWedge = scene->usesClipPlanes() && mirrorsOn ? &wedge : nullptr;
    glPushMatrix();
    scene->beginFrame(mainPass);
    if (clippingWedge) {
        glEnable(GL_CLIP_PLANE0);
        glEnable(GL_CLIP_PLANE1);
    }
    // Each pass draws a wedge and its mirror image, so passes step by two wedge angles.
    for (int i = 0; i < wedge.count; i += 2) {
        glPushMatrix();
        glRotatef(static_cast<float>(i * static_cast<double>(wedge.angle)), 0.0f, 0.0f, 1.0f);
        glFrontFace(GL_CCW);
        glClipPlane(GL_CLIP_PLANE0, wedge.plane0);
        glClipPlane(GL_CLIP_PLANE1, wedge.plane1);
        scene->drawContent();
        if (mirrorsOn) {
            glScalef(-1.0f, 1.0f, 1.0f);
            glFrontFace(GL_CW);
            // The planes are given again so the GL takes them against the mirrored matrix.
            glClipPlane(GL_CLIP_PLANE0, wedge.plane0);
            glClipPlane(GL_CLIP_PLANE1, wedge.plane1);
            scene->drawContent();
        }
        glPopMatrix();
        if (!mirrorsOn)
            break;
    }
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    glDisable(GL_CLIP_PLANE2);
    glFrontFace(GL_CCW);
    glPopMatrix();
    scene->endFrame();
}
