// The drift scene: set-up, the shared parameters and their easing, and the disc loops.
#include "scene/drift_scene.h"
#include "scene/scene_state.h"

#include "image/resource_image.h"
#include "platform/gl.h"
#include "render/kaleidoscope.h"
#include "render/random.h"

namespace {

const int32_t kAtlasCells = 8;
// 1 / 99: the discs' phases run from 0 to 1, so the last one starts where the first does, a
// life later, and the hundred take 99 places.
const float kPhaseSpacing = 0.01010101f;
const int kStartPattern = patternWithWedges(12);
// The shared parameters' ranges: size 0.001 to 1.0, spin 0 to 1400 degrees per disc life, aspect
// (half the disc quad's height) 0.05 to 0.6. A new size or spin target lies in the other half.
const double kSmallestSize = 0.001;
const double kSizeRange = 0.999;
const double kSizeHalfRange = 0.4995;
const double kSizeMiddle = 0.5005;
const double kSpinRange = 1400.0;
const double kSpinHalfRange = 700.0;
const double kSmallestAspect = 0.05;
const double kAspectRange = 0.55;
// Re-rolls: every 1 to 100 rebirths; one in two makes the discs uniform; one in ten starts a
// morph, to 24 wedges a third of the time, else to 12; each parameter changes one time in two.
const int kLongestRerollPeriod = 100;
const int kUniformOdds = 2;
const double kMorphChance = 0.1;
const double kTwentyFourWedgeChance = 0.333;
const double kChangeChance = 0.5;
const char *const kImageNames[3] = {"JPEG_DISCS_MASK", "JPEG_CLOUDS_MASK", "LOGO_MASK"};

// Eased value between start and start + change at fraction s.
float ease(float start, float change, double s) { return static_cast<float>(start + s * change); }

}  // namespace

DriftScene *currentDriftScene() { return sceneState.driftScene; }

DriftScene::DriftScene(Kaleidoscope *owner) : Scene(owner)
{
    aspect = static_cast<float>(randomFraction() * kAspectRange + kSmallestAspect);
    size = static_cast<float>(randomFraction() * kSizeRange + kSmallestSize);
    spin = static_cast<float>(randomFraction() * kSpinRange);
    uniform = static_cast<int>(randomFraction() * kUniformOdds) == 0;
    cellCount = kAtlasCells;
    discCell = 0;
    sceneState.driftScene = this;
    kaleidoscope->selectPattern(kStartPattern, false);
}

DriftScene::~DriftScene()
{
    if (discList)  // the renderer is released while its context is still current
        glDeleteLists(discList, 1);
    delete[] discs;
    delete[] images;
    if (sceneState.driftScene == this)
        sceneState.driftScene = nullptr;
}

void DriftScene::start()
{
    discs = new Disc[kDiscCount]();
    discCell = static_cast<int32_t>(randomFraction() * cellCount);
    images = new ImageRecord[3]();
    for (int i = 0; i < 3; ++i)
        loadResourceImage(images[i], kImageNames[i]);  // a failed load leaves texture 0
    glDisable(GL_LIGHTING);
    discList = glGenLists(1);  // in this window's context: a new window makes its own
    for (int i = 0; i < kDiscCount; ++i)
        initDisc(discs[i], static_cast<float>(i * static_cast<double>(kPhaseSpacing)));
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void DriftScene::update()
{
    started = 1;
    for (int i = 0; i < kDiscCount; ++i)
        updateDisc(discs[i]);
}

void DriftScene::recordDiscs()
{
    if (!discList)
        return;
    glNewList(discList, GL_COMPILE);  // replaces the last frame's discs under the same name
    drawDiscs(discs, kDiscCount, kaleidoscope->clippingWedge);
    glEndList();
}

void DriftScene::drawContent()
{
    if (discList)
        glCallList(discList);
    else  // no list could be made: the discs are issued again for every wedge
        drawDiscs(discs, kDiscCount, kaleidoscope->clippingWedge);
}

void DriftScene::tickParameters()
{
    if (++rerollCount > rerollPeriod) {
        rerollCount = 0;
        rerollPeriod = 1 + static_cast<int32_t>(randomFraction() * kLongestRerollPeriod);
        uniform = static_cast<int>(randomFraction() * kUniformOdds) == 0;
        discCell = static_cast<int32_t>(randomFraction() * cellCount);
        if (randomFraction() < kMorphChance)
            kaleidoscope->selectPattern(randomFraction() >= kTwentyFourWedgeChance
                                            ? patternWithWedges(12)
                                            : patternWithWedges(24),
                                        true);
        // Each new target lies in the other half of its range; the test draw comes first.
        sizeStart = size;
        sizeChange = randomFraction() < kChangeChance
                         ? static_cast<float>(randomFraction() * kSizeHalfRange +
                                              (size < kSizeMiddle ? kSizeHalfRange : 0.0) +
                                              kSmallestSize - sizeStart)
                         : 0.0f;
        spinStart = spin;
        spinChange = randomFraction() < kChangeChance
                         ? static_cast<float>(randomFraction() * kSpinHalfRange +
                                              (spin <= kSpinHalfRange ? kSpinHalfRange : 0.0) -
                                              spinStart)
                         : 0.0f;
        aspectStart = aspect;
        aspectChange = randomFraction() < kChangeChance
                           ? static_cast<float>(randomFraction() * kAspectRange +
                                                kSmallestAspect - aspectStart)
                           : 0.0f;
    }
    const double b = static_cast<double>(rerollCount) / rerollPeriod;
    const double s = b * b * (3.0 - 2.0 * b);
    size = ease(sizeStart, sizeChange, s);
    spin = ease(spinStart, spinChange, s);
    aspect = ease(aspectStart, aspectChange, s);
}
