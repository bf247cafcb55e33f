// The frame: clear paths, the mirrored wedge loop, and the symmetry of what it draws.
#include "support/gl_window_test.h"

#include "render/view.h"

#include <cmath>

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

TEST_F(Frame, PictureHasTheMirrorSymmetryOfThePattern)
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
}

TEST_F(Frame, WithoutMirrorsOnlyOneMarkIsDrawn)
{
    Kaleidoscope &k = openRenderer(kSize, kSize);
    installProbe(k).drawMark = true;
    k.mirrorsOff = 1;
    k.renderFrame(kMirrorsRequested);
    const std::vector<unsigned char> pixels = readPixels(kSize, kSize);
    EXPECT_GT(brightnessAt(pixels, 2.0, 280.0), 200);
    for (double angle : markAngles(12, true))
        if (angle != 280.0) {
            EXPECT_LT(brightnessAt(pixels, 2.0, angle), 50) << angle;
        }
    int litPixels = 0;
    for (size_t i = 0; i < pixels.size(); i += 3)
        litPixels += pixels[i] > 128;
    EXPECT_LT(litPixels, 200);  // one small square, about 9 x 9 pixels
}

}  // namespace
