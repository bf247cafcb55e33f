// Where each layer of the picture sits and which way each turning or zooming layer moves: the
// gradient and the clouds turn anticlockwise, the clouds zoom in, the discs' frame turns
// clockwise, and the logo lies at the lower right.
#include "support/backdrop_fixture.h"

#include "render/view.h"
#include "scene/drift_scene.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const double kViewHalfHeight = viewHalfHeight(0.0);  // in the plane of the clouds and logo
const double kLogoWidth = 4.0;                       // units
const int kSize = 200;                               // square windows: one scale both ways
const int kCentre = kSize / 2;
const double kPixelsPerUnit = kSize / (2 * kViewHalfHeight);

// The blue channel of pixel (x, y), counted from the bottom left.
int blueAt(const std::vector<unsigned char> &pixels, int x, int y)
{
    return pixels[(size_t(y) * kSize + x) * 3 + 2];
}

// Whether pixel (x, y) differs between two pictures by a change that shows.
bool differs(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b, int x, int y)
{
    const size_t i = (size_t(y) * kSize + x) * 3;
    for (size_t c = 0; c < 3; ++c)
        if (std::abs(a[i + c] - b[i + c]) >= kSeenChange)
            return true;
    return false;
}

TEST_F(Backdrop, GradientTurnsAnticlockwiseEightDegreesASecond)
{
    Kaleidoscope &k = openStill(kSize, kSize);
    const int near = 10, far = kSize - 10;
    k.time = 0.0;  // black above, pale blue below
    std::vector<unsigned char> picture = backdropOf(k, 0);
    EXPECT_GT(blueAt(picture, kCentre, near) - blueAt(picture, kCentre, far), 80);
    k.time = 11.25;  // a quarter turn: the black side is now on the left
    picture = backdropOf(k, 0);
    EXPECT_GT(blueAt(picture, far, kCentre) - blueAt(picture, near, kCentre), 80);
    EXPECT_NEAR(blueAt(picture, kCentre, near), blueAt(picture, kCentre, far), 3);
}

// Clouds whose only opaque texels lie in one row just above the texture's middle (t 0.375 to
// 0.5) and beside its seam (s within 0.125 of 0 or 1): only the layer centred on the seam
// shows them, as a band from the centre of the view upwards.
class CloudMotion : public Backdrop {
protected:
    // A square window on a still clock, with those clouds and no logo.
    void SetUp() override
    {
        Kaleidoscope &k = openStill(kSize, kSize);
        DriftScene &scene = *currentDriftScene();
        std::vector<unsigned char> alpha(8 * 8, 0);
        alpha[3 * 8 + 0] = alpha[3 * 8 + 7] = 255;
        clouds = alphaTexture(8, 8, alpha);
        scene.images[2].texture = emptyTexture();
        renderer = &k;
    }
    // The rows, bottom first, where the band shows in column x at time t.
    std::vector<int> bandRows(double t, int x)
    {
        DriftScene &scene = *currentDriftScene();
        renderer->time = t;
        scene.images[1].texture = clouds;
        const std::vector<unsigned char> withBand = backdropOf(*renderer, 1);
        scene.images[1].texture = emptyTexture();
        const std::vector<unsigned char> without = backdropOf(*renderer, 1);
        std::vector<int> rows;
        for (int y = 0; y < kSize; ++y)
            if (differs(withBand, without, x, y))
                rows.push_back(y);
        return rows;
    }
    // The middle of the band in column x at time t, in pixels.
    double bandMiddle(double t, int x)
    {
        const std::vector<int> rows = bandRows(t, x);
        return rows.empty() ? -1.0 : (rows.front() + rows.back() + 1) / 2.0;
    }
    Kaleidoscope *renderer = nullptr;
    GLuint clouds = 0;
};

TEST_F(CloudMotion, CloudsTurnAnticlockwiseOneAndAHalfDegreesASecond)
{
    // Five seconds apart the zoom is where it was; only the turn differs.
    const int left = kCentre - 60, right = kCentre + 60;
    EXPECT_NEAR(bandMiddle(0.0, right), bandMiddle(0.0, left), 1.0);
    const double slope = (bandMiddle(10.0, right) - bandMiddle(10.0, left)) / (right - left);
    EXPECT_NEAR(std::atan(slope) * 180 / M_PI, 15.0, 2.0);  // the right end has risen
}

TEST_F(CloudMotion, CloudsZoomInAndShowTheirTextureUpright)
{
    // Over half a cycle the seam layer's window shrinks by a factor of 2: the band, 0.25 of
    // the window's height, grows by the square root of 2 every 1.25 seconds.
    std::vector<double> heights;
    for (double t : {3.75, 5.0, 6.25}) {
        const std::vector<int> rows = bandRows(t, kCentre);
        ASSERT_FALSE(rows.empty()) << t;
        EXPECT_GE(rows.front(), kCentre - 1) << t << ": the band lies above the centre";
        heights.push_back(rows.back() + 1 - rows.front());
    }
    EXPECT_NEAR(heights[1], 0.25 * 7.75 * kPixelsPerUnit, 2.0);
    EXPECT_NEAR(heights[1] / heights[0], std::sqrt(2.0), 0.1);
    EXPECT_NEAR(heights[2] / heights[1], std::sqrt(2.0), 0.1);
}

TEST_F(Backdrop, DiscFrameTurnsClockwiseOneDegreeASecond)
{
    Kaleidoscope &k = openStill(kSize, kSize);
    DriftScene &scene = *currentDriftScene();
    scene.images[1].texture = scene.images[2].texture = emptyTexture();
    k.time = 90.0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    placeCamera();
    scene.beginFrame(1);
    glDisable(GL_TEXTURE_2D);  // a white square 2 units right of the centre, in the discs' frame
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(1.8f, -0.2f);
    glVertex2f(2.2f, -0.2f);
    glVertex2f(2.2f, 0.2f);
    glVertex2f(1.8f, 0.2f);
    glEnd();
    scene.endFrame();
    const std::vector<unsigned char> picture = readPixels(kSize, kSize);
    auto white = [&](double x, double y) {
        const size_t i = (size_t(kCentre + y * kPixelsPerUnit) * kSize +
                          size_t(kCentre + x * kPixelsPerUnit)) * 3;
        return picture[i] >= 250 && picture[i + 1] >= 250;
    };
    EXPECT_TRUE(white(0, -2));  // after 90 seconds a quarter turn clockwise: straight down
    EXPECT_FALSE(white(2, 0));
    EXPECT_FALSE(white(0, 2));
    EXPECT_FALSE(white(-2, 0));
}

// The first and last texel columns of the logo mask that hold letters, and its width in texels.
std::array<int, 3> letterColumns(GLuint texture)
{
    const int kLetterAlpha = 64;  // well above the mask's noise, well below its strokes
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> alpha(size_t(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    int first = width, last = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (alpha[size_t(y) * width + x] >= kLetterAlpha) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last, width};
}

// The logo's letters all show at the lower right of the renderer's window.
void expectWholeLogoAtLowerRight(Kaleidoscope &k)
{
    const int width = k.viewportWidth, height = k.viewportHeight;
    DriftScene &scene = *currentDriftScene();
    const GLuint logo = scene.images[2].texture;
    ASSERT_NE(logo, 0u);
    scene.images[1].texture = emptyTexture();  // no clouds to hide letters in
    const std::vector<unsigned char> withLogo = backdropOf(k, 1);
    scene.images[2].texture = emptyTexture();
    const ChangedBox letters = changedBox(withLogo, backdropOf(k, 1), width);
    const auto [first, last, texels] = letterColumns(logo);
    ASSERT_LT(first, last);

    // Whole, and moved left just enough: the strip's right end meets the window's right edge.
    const double pixelsPerUnit = height / (2 * kViewHalfHeight);
    const double pixelsPerTexel = kLogoWidth / texels * pixelsPerUnit;
    const double stripLeft = width - kLogoWidth * pixelsPerUnit;
    EXPECT_NEAR(letters.left, stripLeft + first * pixelsPerTexel, 3.0);
    EXPECT_NEAR(letters.right + 1, stripLeft + (last + 1) * pixelsPerTexel, 3.0);
    const double middle = (letters.bottom + letters.top + 1) / 2.0;
    EXPECT_NEAR(middle, toPixel(-5, kViewHalfHeight, height), 2.0);
}

TEST_F(Backdrop, WholeLogoShowsInSquareWindows)
{
    expectWholeLogoAtLowerRight(openStill(480, 480));
}

TEST_F(Backdrop, WholeLogoShowsInPortraitWindows)
{
    expectWholeLogoAtLowerRight(openStill(360, 640));
}

// The logo at (5, -5), 4 x 0.25 units, white at alpha 0.3 times its mask, over the picture.
void drawLogoAtFirstPlace(GLuint texture)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPushMatrix();
    glTranslatef(5.0f, -5.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.3f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-2.0f, -0.125f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(2.0f, -0.125f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(2.0f, 0.125f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-2.0f, 0.125f, 0.0f);
    glEnd();
    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

// The logo draws the same pixels as one drawn at (5, -5) over the same backdrop.
void expectLogoAtItsFirstPlace(Kaleidoscope &k)
{
    const int width = k.viewportWidth, height = k.viewportHeight;
    k.time = 2.0f;
    DriftScene &scene = *currentDriftScene();
    const GLuint logo = scene.images[2].texture;
    const std::vector<unsigned char> drawn = backdropOf(k, 1);
    scene.images[2].texture = emptyTexture();
    backdropOf(k, 1);
    drawLogoAtFirstPlace(logo);
    const std::vector<unsigned char> firstPlace = readPixels(width, height);
    EXPECT_GT(changedBox(drawn, backdropOf(k, 1), width, 1).count, 200);  // the logo does show
    EXPECT_EQ(changedBox(drawn, firstPlace, width, 1).count, 0);
}

TEST_F(Backdrop, LogoOn16By9IsWhereItAlwaysWas)
{
    expectLogoAtItsFirstPlace(openStill(960, 540));
}

TEST_F(Backdrop, LogoOn4By3IsWhereItAlwaysWas)
{
    expectLogoAtItsFirstPlace(openStill(720, 540));
}

TEST_F(Backdrop, LogoTextureIsUprightAndReadsLeftToRight)
{
    const int width = 960, height = 540;
    Kaleidoscope &k = openStill(width, height);
    DriftScene &scene = *currentDriftScene();
    scene.images[1].texture = emptyTexture();
    // Only the first texel of the first row is opaque: the image's top left corner.
    scene.images[2].texture = alphaTexture(2, 2, {255, 0, 0, 0});
    const std::vector<unsigned char> marked = backdropOf(k, 1);
    scene.images[2].texture = emptyTexture();
    const std::vector<unsigned char> empty = backdropOf(k, 1);

    // It lights the top left quarter of the strip: x 3...5, y -5...-4.875.
    const double halfWidth = kViewHalfHeight * width / height;
    const ChangedBox lit = changedBox(marked, empty, width);
    EXPECT_NEAR(lit.left, toPixel(3, halfWidth, width), 1.0);
    EXPECT_NEAR(lit.right + 1, toPixel(5, halfWidth, width), 1.0);
    EXPECT_NEAR(lit.bottom, toPixel(-5, kViewHalfHeight, height), 1.0);
    EXPECT_NEAR(lit.top + 1, toPixel(-4.875, kViewHalfHeight, height), 1.0);
}

}  // namespace
