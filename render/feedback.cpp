// The feedback blur: the frame drawn small into a corner, copied to a luminance texture, and
// laid back over the viewport in twelve ever larger, ever fainter layers: a radial glow.
#include "render/kaleidoscope.h"

#include "platform/gl.h"
#include "render/render_state.h"

#include <cstring>
#include <vector>

namespace {

const int kCaptureSize = 128;
const double kOverlayWidth = 640.0;
const double kOverlayHeight = 480.0;
const float kFirstLayerAlpha = 0.075f;

}  // namespace

void Kaleidoscope::setUpFeedback()
{
    const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
    // Only the two names gate the pass; no function of either extension is used.
    renderState.feedbackAvailable = extensions &&
                                     std::strstr(extensions, "GL_EXT_compiled_vertex_array") &&
                                     std::strstr(extensions, "GL_ARB_multitexture");
    if (renderState.feedbackAvailable)
        createFeedbackTexture();
}

bool Kaleidoscope::feedbackWanted()
{
    return scene->wantsFeedback() && renderState.feedbackAvailable && !feedbackOff;
}

void Kaleidoscope::createFeedbackTexture()
{
    const std::vector<unsigned char> black(kCaptureSize * kCaptureSize * 4, 0);
    glGenTextures(1, &renderState.feedbackTexture);
    glBindTexture(GL_TEXTURE_2D, renderState.feedbackTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, kCaptureSize, kCaptureSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 black.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void Kaleidoscope::captureFeedback(const Wedge &wedge)
{
    // The projection keeps the window's aspect: the square capture holds the whole view, squeezed.
    glViewport(0, 0, kCaptureSize, kCaptureSize);
    drawWedges(wedge, 0);
    glBindTexture(GL_TEXTURE_2D, renderState.feedbackTexture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 0, 0, kCaptureSize, kCaptureSize, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, viewportWidth, viewportHeight);
}

void Kaleidoscope::drawFeedbackOverlay(int layers, float step)
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, renderState.feedbackTexture);
    beginOverlayProjection();

    const float decrement = static_cast<float>(static_cast<double>(kFirstLayerAlpha) / layers);
    float alpha = kFirstLayerAlpha;
    float inset = 0.0f;
    glBegin(GL_QUADS);
    for (int layer = 0; layer < layers; ++layer) {
        const float outer = 1.0f - inset;
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        glTexCoord2f(inset, outer);
        glVertex2d(0.0, 0.0);
        glTexCoord2f(inset, inset);
        glVertex2d(0.0, kOverlayHeight);
        glTexCoord2f(outer, inset);
        glVertex2d(kOverlayWidth, kOverlayHeight);
        glTexCoord2f(outer, outer);
        glVertex2d(kOverlayWidth, 0.0);
        inset += step;
        alpha -= decrement;
    }
    glEnd();

    endOverlayProjection();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void Kaleidoscope::beginOverlayProjection()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, kOverlayWidth, kOverlayHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void Kaleidoscope::endOverlayProjection()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
