// The frame: clear paths, the mirrored wedge loop, the symmetry of what it draws, and the
// feedback blur pass, with a scene that asks for it and with the drift scene, which does not.
#include "support/gl_window_test.h"

#include "render/view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const int kSize = 200;  // square client area, so the projection is uniform

class Frame : public GLWindowTest {};

GLint drawBuffer()
{
    GLint buffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &buffer);
    return buffer;
}

// Brightness of the pixel where the scene point at (radius, degrees) on the z = 0 plane lands.
int brightnessAt(const std::vector<unsigned char> &pixels, double radius, double degrees)
{
    const double half = viewHalfHeight(0.0);  // the square view spans -half...half both ways
    const double x = radius * std::cos(degrees * M_PI / 180) / half;
    const double y = radius * std::sin(degrees * M_PI / 180) / half;
    const int px = static_cast<int>((x + 1) / 2 * kSize), py = static_cast<int>((y + 1) / 2 * kSize);
    return pixels[(size_t(py) * kSize + px) * 3];
}

// The angles at which the mark and its mirror images are drawn for a pattern.
std::vector<double> markAngles(int wedges, bool mirrors)
{
    const double markAngle = 280.0, step = 360.0 / wedges;  // mark sits 10 degrees into the wedge
    std::vector<double> angles;
    for (int i = 0; i < wedges; i += 2) {
        angles.push_back(std::fmod(markAngle + i * step, 360.0));
        if (!mirrors)
            break;
        angles.push_back(std::fmod(540.0 - markAngle + i * step, 360.0));  // x -> -x, then turned
    }
    return angles;
}

TEST_F(Frame, DrawsContentOncePerWedgeWithMirrorsAndOnceWithout)
{
    Kaleidoscope &k = openRenderer(64, 64);
    ProbeScene &probe = installProbe(k);
    k.selectPattern(0, false);  // 10 wedges
    k.renderFrame(kMirrorsRequested);
    EXPECT_EQ(probe.drawCalls, 10);
    probe.drawCalls = 0;
    k.selectPattern(7, false);
    k.renderFrame(kMirrorsRequested);
    EXPECT_EQ(probe.drawCalls, 24);

    for (unsigned flags : {0u, 1u}) {  // flags without bit 16: mirrors off for that frame
        probe.drawCalls = 0;
        k.renderFrame(flags);
        EXPECT_EQ(probe.drawCalls, 1) << "flags " << flags;
        EXPECT_EQ(k.mirrorsOn, 0);
    }
    k.mirrorsOff = 1;
    probe.drawCalls = 0;
    k.renderFrame(kMirrorsRequested);
    EXPECT_EQ(probe.drawCalls, 1);
    k.mirrorsOff = 0;
    probe.mirrors = false;
    probe.drawCalls = 0;
    k.renderFrame(kMirrorsRequested);
    EXPECT_EQ(probe.drawCalls, 1);
}

TEST_F(Frame, FirstTwoFramesOfTheProcessClearFullyEvenForAnIncrementalScene)
{
    Kaleidoscope &k = openRenderer(64, 64);
    ProbeScene &probe = installProbe(k);
    probe.incremental = true;
    EXPECT_TRUE(k.renderFrame(kMirrorsRequested));
    EXPECT_EQ(drawBuffer(), GL_BACK);
    EXPECT_TRUE(k.renderFrame(kMirrorsRequested));
    EXPECT_FALSE(k.renderFrame(kMirrorsRequested));
    EXPECT_EQ(drawBuffer(), GL_FRONT);

    // A renderer made later, for a new window, does not get two more.
    delete appWindow.renderer;
    appWindow.renderer = new Kaleidoscope(64, 64);
    installProbe(*appWindow.renderer).incremental = true;
    EXPECT_FALSE(appWindow.renderer->renderFrame(kMirrorsRequested));
    installProbe(*appWindow.renderer).incremental = false;
    EXPECT_TRUE(appWindow.renderer->renderFrame(kMirrorsRequested));
    EXPECT_EQ(drawBuffer(), GL_BACK);
}

// The depth buffer's value at the centre of the window.
float centreDepth(int size)
{
    float depth = -1.0f;
    glReadPixels(size / 2, size / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

TEST_F(Frame, FullClearClearsDepthOnlyForAFrameThatStartsWithDepthTesting)
{
    Kaleidoscope &k = openRenderer(64, 64);
    installProbe(k);  // draws nothing, leaves depth testing as it finds it
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glDisable(GL_DEPTH_TEST);
    k.renderFrame(kMirrorsRequested);
    EXPECT_NEAR(centreDepth(64), 0.25, 1e-3) << "depth cleared with depth testing off";
    glEnable(GL_DEPTH_TEST);
    k.renderFrame(kMirrorsRequested);
    EXPECT_NEAR(centreDepth(64), 1.0, 1e-3) << "depth left with depth testing on";
}

TEST_F(Frame, PictureHasTheMirrorSymmetryOfThePatternAndOneMarkWithoutMirrors)
{
    Kaleidoscope &k = openRenderer(kSize, kSize);
    installProbe(k).drawMark = true;
    for (int pattern : {1, 3}) {  // 12 and 16 wedges
        k.selectPattern(pattern, false);
        k.renderFrame(kMirrorsRequested);
        const std::vector<unsigned char> pixels = readPixels(kSize, kSize);
        const int wedges = 12 + 2 * (pattern - 1);
        const std::vector<double> lit = markAngles(wedges, true);
        for (double angle : lit)
            EXPECT_GT(brightnessAt(pixels, 2.0, angle), 200) << wedges << " wedges, " << angle;
        // Half-way between two neighbouring images of the mark there is nothing.
        EXPECT_LT(brightnessAt(pixels, 2.0, 270.0 + 360.0 / wedges), 50) << wedges << " wedges";
        EXPECT_LT(brightnessAt(pixels, 2.0, 270.0), 50) << wedges << " wedges";
    }

    // Without mirrors, one small mark only (about 9 x 9 pixels).
    k.mirrorsOff = 1;
    k.renderFrame(kMirrorsRequested);
    const std::vector<unsigned char> pixels = readPixels(kSize, kSize);
    EXPECT_GT(brightnessAt(pixels, 2.0, 280.0), 200);
    for (double angle : markAngles(16, true))
        if (angle != 280.0) {
            EXPECT_LT(brightnessAt(pixels, 2.0, angle), 50) << angle;
        }
    int litPixels = 0;
    for (size_t i = 0; i < pixels.size(); i += 3)
        litPixels += pixels[i] > 128;
    EXPECT_LT(litPixels, 200);
}

class Feedback : public GLWindowTest {
protected:
    ProbeScene &openWithProbe()
    {
        Kaleidoscope &k = openRenderer(160, 120);
        EXPECT_TRUE(renderState.feedbackAvailable);  // Mesa offers both extensions
        ProbeScene &probe = installProbe(k);
        probe.feedback = true;
        return probe;
    }
    Kaleidoscope &renderer() { return *appWindow.renderer; }
};

GLint feedbackTextureLevel(GLenum what)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, renderState.feedbackTexture);
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

TEST_F(Feedback, WantingSceneClearsFullyAndCapturesEveryFrameWhileTheUserLeavesItOn)
{
    ProbeScene &probe = openWithProbe();
    probe.incremental = true;
    renderer().feedbackOff = 1;  // off: only the process's two forced full clears
    EXPECT_TRUE(renderer().renderFrame(kMirrorsRequested));
    EXPECT_TRUE(renderer().renderFrame(kMirrorsRequested));
    EXPECT_FALSE(renderer().renderFrame(kMirrorsRequested));
    EXPECT_EQ(drawBuffer(), GL_FRONT);
    EXPECT_EQ(probe.beginPasses, (std::vector<int>{1, 1, 1}));  // never a capture
    renderer().feedbackOff = 0;
    probe.beginPasses.clear();
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_TRUE(renderer().renderFrame(kMirrorsRequested)) << frame;
        EXPECT_EQ(drawBuffer(), GL_BACK);
    }
    EXPECT_EQ(probe.beginPasses, (std::vector<int>{0, 1, 0, 1, 0, 1}));  // capture, then visible
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

TEST_F(Feedback, CaptureWipesItsCornerOfColourAsWellAsDepth)
{
    const int size = 200;  // room for the whole 128 x 128 capture
    Kaleidoscope &k = openRenderer(size, size);
    ProbeScene &probe = installProbe(k);
    probe.feedback = true;
    probe.drawMark = true;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    placeCamera();
    k.captureFeedback(k.wedgeForFrame());

    std::vector<unsigned char> texels(128 * 128);
    glBindTexture(GL_TEXTURE_2D, renderState.feedbackTexture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_GT(*std::max_element(texels.begin(), texels.end()), 200);  // the marks were captured
    const std::vector<unsigned char> window = readPixels(size, size);
    EXPECT_EQ(*std::max_element(window.begin(), window.end()), 0);  // and are gone from the window
}

TEST_F(Feedback, OverlayCoversAnyViewportUprightWithTheCapturesTopAtTheTop)
{
    const int window = 256;
    Kaleidoscope &k = openRenderer(window, window);
    // A capture whose upper half is white; its first row is the bottom of the picture.
    std::vector<unsigned char> capture(128 * 128, 0);
    std::fill(capture.begin() + 64 * 128, capture.end(), 255);
    glBindTexture(GL_TEXTURE_2D, renderState.feedbackTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 128, 128, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                 capture.data());
    const int shapes[][2] = {{256, 96}, {96, 256}};  // wide and tall, neither of them 4:3
    for (const auto &shape : shapes) {
        const int w = shape[0], h = shape[1];
        k.resize(w, h);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        k.drawFeedbackOverlay(1, 0.0f);  // one layer at alpha 0.075: about 19 of 255
        const std::vector<unsigned char> pixels = readPixels(window, window);
        auto lit = [&](int x, int y) { return pixels[(size_t(y) * window + x) * 3] > 10; };
        for (int x : {0, w / 2, w - 1}) {
            EXPECT_TRUE(lit(x, h - 1)) << w << "x" << h << " top, x " << x;
            EXPECT_TRUE(lit(x, h * 3 / 4)) << w << "x" << h << " upper half, x " << x;
            EXPECT_FALSE(lit(x, h / 4)) << w << "x" << h << " lower half, x " << x;
            EXPECT_FALSE(lit(x, 0)) << w << "x" << h << " bottom, x " << x;
        }
        if (w < window) {
            EXPECT_FALSE(lit(w, h - 1)) << "right of the viewport";
        }
        if (h < window) {
            EXPECT_FALSE(lit(0, h)) << "above the viewport";
        }
    }
}

// A GL without an extension the pass is gated on, as Mesa can be told to advertise it. Mesa
// reads these variables when it makes a context, so they are set before the window is opened.
struct HiddenExtension {
    const char *variable, *value;
    const char *missing;  // hidden by the setting
    const char *kept;     // still advertised, or null when the setting may hide it too
};

void PrintTo(const HiddenExtension &hidden, std::ostream *out)
{
    *out << hidden.variable << "=" << hidden.value;
}

class MissingExtension : public GLWindowTest, public ::testing::WithParamInterface<HiddenExtension> {
protected:
    void SetUp() override { setenv(GetParam().variable, GetParam().value, 1); }
    void TearDown() override
    {
        unsetenv(GetParam().variable);
        GLWindowTest::TearDown();
    }
};

TEST_P(MissingExtension, LeavesTheFeedbackPassAndItsFullClearOff)
{
    Kaleidoscope &k = openRenderer(64, 64);
    const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    ASSERT_EQ(std::strstr(extensions, GetParam().missing), nullptr) << "the setting did not take";
    if (GetParam().kept) {
        ASSERT_NE(std::strstr(extensions, GetParam().kept), nullptr);
    }
    EXPECT_FALSE(renderState.feedbackAvailable);
    ProbeScene &probe = installProbe(k);
    probe.feedback = true;
    probe.incremental = true;
    k.renderFrame(kMirrorsRequested);  // the process's two forced full clears
    k.renderFrame(kMirrorsRequested);
    EXPECT_FALSE(k.renderFrame(kMirrorsRequested));
    EXPECT_EQ(probe.beginPasses, (std::vector<int>{1, 1, 1}));  // never a capture pass
}

INSTANTIATE_TEST_SUITE_P(
    EitherOne, MissingExtension,
    ::testing::Values(
        // Mesa hides the multitexture extension (1998) from a GL capped at 1997, and keeps the
        // compiled-vertex-array one (1996): exactly one of the two is missing.
        HiddenExtension{"MESA_EXTENSION_MAX_YEAR", "1997", "GL_ARB_multitexture",
                        "GL_EXT_compiled_vertex_array"},
        // Mesa refuses to switch this one off alone and drops both from the list instead.
        HiddenExtension{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_compiled_vertex_array",
                        "GL_EXT_compiled_vertex_array", nullptr}),
    [](const ::testing::TestParamInfo<HiddenExtension> &info) {
        return std::string(info.param.missing).substr(3);
    });

TEST_F(Feedback, DriftSceneRunsNoneOfThePass)
{
    openRendererAt(160, 120, 0.0);  // a still clock: two frames draw the same picture
    renderer().renderFrame(kMirrorsRequested);
    const std::vector<unsigned char> withFlagClear = readPixels(160, 120);
    EXPECT_EQ(feedbackTextureLevel(GL_TEXTURE_INTERNAL_FORMAT), 4);  // never captured
    renderer().feedbackOff = 1;
    renderer().renderFrame(kMirrorsRequested);
    EXPECT_EQ(readPixels(160, 120), withFlagClear);
}

}  // namespace
