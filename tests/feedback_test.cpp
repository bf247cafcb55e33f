// The feedback blur pass, with a scene that asks for it and with the drift scene, which does not.
#include "support/gl_window_test.h"

namespace {

class Feedback : public GLWindowTest {
protected:
    ProbeScene &openWithProbe()
    {
        Kaleidoscope &k = openRenderer(160, 120);
        EXPECT_TRUE(feedbackAvailable());  // Mesa offers both extensions
        ProbeScene &probe = installProbe(k);
        probe.feedback = true;
        return probe;
    }
    Kaleidoscope &renderer() { return *appWindow.renderer; }
};

GLint drawBuffer()
{
    GLint buffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &buffer);
    return buffer;
}

GLint feedbackTextureLevel(GLenum what)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, feedbackTextureName());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
    return value;
}

// Polygons the overlay sends to the GL, counted in feedback mode.
int overlayPolygons(Kaleidoscope &k, int layers)
{
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    k.drawFeedbackOverlay(layers, 0.02f);
    const GLint values = glRenderMode(GL_RENDER);
    int polygons = 0;
    for (GLint i = 0; i < values;)
        if (buffer[i] == GL_POLYGON_TOKEN) {
            ++polygons;
            i += 2 + 2 * static_cast<GLint>(buffer[i + 1]);
        } else {
            i += 1;
        }
    return polygons;
}

TEST_F(Feedback, WantingSceneAlwaysClearsFullyUntilTheUserSwitchesItOff)
{
    ProbeScene &probe = openWithProbe();
    probe.incremental = true;
    for (int frame = 0; frame < 4; ++frame) {
        EXPECT_TRUE(renderer().renderFrame(kMirrorsRequested)) << frame;
        EXPECT_EQ(drawBuffer(), GL_BACK);
    }
    EXPECT_EQ(probe.beginPasses, (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1}));  // capture, then visible
    renderer().feedbackOff = 1;
    probe.beginPasses.clear();
    EXPECT_FALSE(renderer().renderFrame(kMirrorsRequested));
    EXPECT_EQ(drawBuffer(), GL_FRONT);
    EXPECT_EQ(probe.beginPasses, std::vector<int>{1});
}

TEST_F(Feedback, FeedbackOffFromTheStartStillHasTheTwoForcedClears)
{
    ProbeScene &probe = openWithProbe();
    probe.incremental = true;
    renderer().feedbackOff = 1;
    EXPECT_TRUE(renderer().renderFrame(kMirrorsRequested));
    EXPECT_TRUE(renderer().renderFrame(kMirrorsRequested));
    EXPECT_FALSE(renderer().renderFrame(kMirrorsRequested));
}

TEST_F(Feedback, CaptureMakesA128SquareLuminanceTexture)
{
    openWithProbe();
    EXPECT_EQ(feedbackTextureLevel(GL_TEXTURE_INTERNAL_FORMAT), 4);  // four components, as made
    renderer().renderFrame(kMirrorsRequested);
    EXPECT_EQ(feedbackTextureLevel(GL_TEXTURE_INTERNAL_FORMAT), GL_LUMINANCE);
    EXPECT_EQ(feedbackTextureLevel(GL_TEXTURE_WIDTH), 128);
    EXPECT_EQ(feedbackTextureLevel(GL_TEXTURE_HEIGHT), 128);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 160);  // the window's viewport is back after the capture
    EXPECT_EQ(viewport[3], 120);
}

TEST_F(Feedback, OverlayDrawsOneQuadPerLayerAndLeavesTheSameStateWithNone)
{
    openWithProbe();
    for (int layers : {12, 0, -3}) {
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, 77);
        // The GL may hand each quad back as two triangles.
        const int polygons = overlayPolygons(renderer(), layers);
        if (layers > 0) {
            EXPECT_TRUE(polygons == layers || polygons == 2 * layers) << polygons;
        } else {
            EXPECT_EQ(polygons, 0);
        }
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        GLint bound = -1, mode = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(bound, 0);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

TEST_F(Feedback, OverlayBrightensThePictureAroundItsContent)
{
    ProbeScene &probe = openWithProbe();
    probe.drawMark = true;
    auto total = [&] {
        renderer().renderFrame(kMirrorsRequested);
        long sum = 0;
        for (unsigned char v : readPixels(160, 120))
            sum += v;
        return sum;
    };
    renderer().feedbackOff = 1;
    const long plain = total();
    renderer().feedbackOff = 0;
    EXPECT_GT(total(), plain + 1000);
}

TEST_F(Feedback, DriftSceneRunsNoneOfThePass)
{
    openWindow(160, 120);
    seam::setCounter(1000, 0);  // a still clock: two frames draw the same picture
    appWindow.renderer = new Kaleidoscope(160, 120);
    renderer().renderFrame(kMirrorsRequested);
    const std::vector<unsigned char> withFlagClear = readPixels(160, 120);
    EXPECT_EQ(feedbackTextureLevel(GL_TEXTURE_INTERNAL_FORMAT), 4);  // never captured
    renderer().feedbackOff = 1;
    renderer().renderFrame(kMirrorsRequested);
    EXPECT_EQ(readPixels(160, 120), withFlagClear);
}

}  // namespace
