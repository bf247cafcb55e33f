// The backdrop: cloud layer timing and scale, and what each pass draws.
#include "support/gl_window_test.h"

#include "scene/drift_scene.h"

namespace {

TEST(CloudLayers, FadeInAndOutWhileZoomingSoTheWrapIsInvisible)
{
    const CloudLayer start = cloudLayerAt(0.0);
    EXPECT_DOUBLE_EQ(start.alpha, 0.0);
    EXPECT_DOUBLE_EQ(start.width, 0.5);
    EXPECT_DOUBLE_EQ(start.height, 2.0);
    const CloudLayer middle = cloudLayerAt(0.5), justBefore = cloudLayerAt(0.5 - 1e-9);
    EXPECT_DOUBLE_EQ(middle.alpha, 1.0);
    EXPECT_DOUBLE_EQ(middle.width, 0.25);
    EXPECT_DOUBLE_EQ(middle.height, 1.0);
    EXPECT_NEAR(justBefore.alpha, 1.0, 1e-8);
    EXPECT_NEAR(justBefore.width, 0.25, 1e-8);
    const CloudLayer end = cloudLayerAt(0.9999);
    EXPECT_NEAR(end.alpha, 0.0, 1e-3);
    EXPECT_NEAR(end.width, 0.125, 1e-4);
    EXPECT_NEAR(end.height, 0.5, 1e-4);
}

TEST(CloudLayers, TallWindowsScaleLikeTheEquivalentWideOnes)
{
    EXPECT_DOUBLE_EQ(cloudScale(1280, 720), 7.75 * 1280 / 720);
    EXPECT_DOUBLE_EQ(cloudScale(720, 1280), cloudScale(1280, 720));
    EXPECT_DOUBLE_EQ(cloudScale(500, 500), 7.75);
    EXPECT_DOUBLE_EQ(cloudScale(640, 0), 7.75);  // no division by a zero size
}

class Backdrop : public GLWindowTest {
protected:
    // A renderer on a still clock, so every frame draws the same picture.
    Kaleidoscope &openStill(int size)
    {
        openWindow(size, size);
        seam::setCounter(1000, 2000);
        appWindow.renderer = new Kaleidoscope(size, size);
        return *appWindow.renderer;
    }
    // The picture one wedge loop's backdrop draws for a pass.
    std::vector<unsigned char> backdropOf(Kaleidoscope &k, int mainPass)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(0, 0, 5.5, 0, 0, 0, 0, 1, 0);
        k.scene->beginFrame(mainPass);
        k.scene->endFrame();
        return readPixels(k.viewportWidth, k.viewportHeight);
    }
};

long brightness(const std::vector<unsigned char> &pixels)
{
    long sum = 0;
    for (unsigned char v : pixels)
        sum += v;
    return sum;
}

TEST_F(Backdrop, VisiblePassAddsCloudsAndLogoAndTheCapturePassOnlyTheGradient)
{
    Kaleidoscope &k = openStill(120);
    k.time = 2.0f;  // one cloud layer at alpha 0.8, the other at 0.2
    const std::vector<unsigned char> visible = backdropOf(k, 1);
    const std::vector<unsigned char> capture = backdropOf(k, 0);
    EXPECT_EQ(backdropOf(k, 0x100), capture);  // only the low byte of mainPass counts
    EXPECT_GT(brightness(visible), brightness(capture) + 120 * 120 * 3 * 20);

    DriftScene &scene = *currentDriftScene();
    scene.images[1].texture = scene.images[2].texture = 0;  // no clouds or logo to show
    EXPECT_EQ(backdropOf(k, 0), capture);
}

TEST_F(Backdrop, LogoSitsAtTheLowerRightShowingItsLetters)
{
    const int size = 200;
    Kaleidoscope &k = openStill(size);
    k.renderFrame(kMirrorsRequested);
    const std::vector<unsigned char> withLogo = readPixels(size, size);
    currentDriftScene()->images[2].texture = 0;  // a plain white strip in its place
    k.renderFrame(kMirrorsRequested);
    const std::vector<unsigned char> plainStrip = readPixels(size, size);

    // The strip spans x 3...7 and y -5.125...-4.875 at the camera's 5.5 units: here in pixels.
    auto pixel = [&](double units) { return (units / 5.5 + 1) / 2 * size; };
    int changed = 0, outside = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const size_t i = (size_t(y) * size + x) * 3;
            if (withLogo[i] == plainStrip[i])
                continue;
            const bool inStrip = x >= pixel(3) - 1 && y >= pixel(-5.125) - 1 && y <= pixel(-4.875) + 1;
            ++(inStrip ? changed : outside);
        }
    EXPECT_GT(changed, 20);  // the gaps between letters show the backdrop
    EXPECT_EQ(outside, 0);
}

}  // namespace
