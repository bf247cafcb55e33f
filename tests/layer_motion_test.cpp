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

// One opaque texel in a 32 x 32 cloud texture, just right of and just above the centre of one
// layer's texture window (s 0.5 for the first layer, the seam for the second; t 0.5): only that
// layer shows it, as a patch whose corner sits on the layer's centre.
struct CloudLayerCase {
    const char *name;
    int column;              // the texel's column: s from column / 32 on
    double quarterPhaseTime; // seconds at which the layer is a quarter into its zoom cycle
};

void PrintTo(const CloudLayerCase &layer, std::ostream *out) { *out << layer.name; }

// What the texel looks like drawn: its pixels, their centre from the view's centre in pixels,
// and how opaque it is drawn.
struct Patch {
    long count = 0;
    double x = 0, y = 0;
    double alpha = 0;
    double distance() const { return std::hypot(x, y); }
    double degrees() const { return std::atan2(y, x) * 180 / M_PI; }
};

class CloudLayer : public Backdrop, public ::testing::WithParamInterface<CloudLayerCase> {
protected:
    // A square window on a still clock, with those clouds and no logo.
    void SetUp() override
    {
        renderer = &openStill(kSize, kSize);
        std::vector<unsigned char> alpha(32 * 32, 0);
        alpha[15 * 32 + GetParam().column] = 255;
        clouds = alphaTexture(32, 32, alpha);
        currentDriftScene()->images[2].texture = emptyTexture();
    }
    // The texel as drawn at time t, against the same frame drawn with empty clouds.
    Patch patchAt(double t)
    {
        DriftScene &scene = *currentDriftScene();
        renderer->time = t;
        scene.images[1].texture = clouds;
        const std::vector<unsigned char> drawn = backdropOf(*renderer, 1);
        scene.images[1].texture = emptyTexture();
        const std::vector<unsigned char> under = backdropOf(*renderer, 1);
        Patch patch;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                if (!differs(drawn, under, x, y))
                    continue;
                const size_t red = (size_t(y) * kSize + x) * 3;
                ++patch.count;
                patch.x += x + 0.5 - kCentre;
                patch.y += y + 0.5 - kCentre;
                patch.alpha += double(drawn[red] - under[red]) / (255 - under[red]);  // white over
            }
        if (patch.count > 0) {
            patch.x /= patch.count;
            patch.y /= patch.count;
            patch.alpha /= patch.count;
        }
        return patch;
    }
    Kaleidoscope *renderer = nullptr;
    GLuint clouds = 0;
};

TEST_P(CloudLayer, SitsOnItsCentreTurnsAnticlockwiseZoomsInAndFadesAtItsRates)
{
    const double quarter = GetParam().quarterPhaseTime, half = quarter + 1.25;
    const Patch atQuarter = patchAt(quarter), atHalf = patchAt(half);
    const Patch turned = patchAt(half + 20.0);  // four zoom cycles later: only the turn differs
    // At half phase the window is 0.25 x 1 of the texture over 15.5 units: the texel shows as
    // 15.5 / 8 x 15.5 / 32 units up and to the right of the centre, turned 1.5 degrees a second.
    const double width = 15.5 / 8 * kPixelsPerUnit, height = 15.5 / 32 * kPixelsPerUnit;
    ASSERT_GT(atHalf.count, 0);
    EXPECT_NEAR(atHalf.count, width * height, 0.1 * width * height);
    EXPECT_NEAR(atHalf.distance(), std::hypot(width, height) / 2, 1.5);
    EXPECT_NEAR(atHalf.degrees(), std::atan2(height, width) * 180 / M_PI + 1.5 * half, 2.0);
    EXPECT_NEAR(turned.degrees() - atHalf.degrees(), 30.0, 1.0);
    EXPECT_NEAR(turned.distance(), atHalf.distance(), 1.0);
    // Zooming in: a quarter cycle earlier the window was larger by the square root of 2 each
    // way, so the texel covered half as much; and fading in, at half the opacity.
    EXPECT_NEAR(double(atHalf.count) / atQuarter.count, 2.0, 0.2);
    EXPECT_NEAR(atQuarter.alpha, 0.5, 0.05);
    EXPECT_NEAR(atHalf.alpha, 1.0, 0.05);
    // At the start of its cycle the layer is not seen at all: its wrap does not show.
    EXPECT_EQ(patchAt(quarter - 1.25).count, 0);
}

INSTANTIATE_TEST_SUITE_P(Both, CloudLayer,
                         ::testing::Values(CloudLayerCase{"First", 16, 1.25},
                                           CloudLayerCase{"Second", 0, 3.75}),
                         [](const ::testing::TestParamInfo<CloudLayerCase> &info) {
                             return std::string(info.param.name);
                         });

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
    const std::vector<unsigned char> alpha = alphaTexels(width, height);
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
