// Drift scene rules: the start pattern, parameter re-rolls, disc lives and uniform mode.
#include "support/gl_window_test.h"

#include "render/random.h"
#include "scene/drift_scene.h"

#include <cmath>
#include <functional>

namespace {

const int64_t kTicksPerSecond = 1000000;

// The draws of one re-roll, in the order tickParameters makes them when it starts no morph:
// each value draw is made only when its test draw is below 0.5.
struct RerollDraws {
    double period, uniform, cell, morph;
    double test[3], value[3];  // size, spin, aspect
    double next;               // the draw after the re-roll
};

// The first seed whose re-roll draws satisfy the condition and start no morph.
std::pair<unsigned, RerollDraws> seedWhere(std::function<bool(const RerollDraws &)> wanted)
{
    for (unsigned seed = 1;; ++seed) {
        seedRandom(seed);
        RerollDraws d = {};
        d.period = randomFraction();
        d.uniform = randomFraction();
        d.cell = randomFraction();
        d.morph = randomFraction();
        if (d.morph < 0.1)
            continue;
        for (int i = 0; i < 3; ++i) {
            d.test[i] = randomFraction();
            d.value[i] = d.test[i] < 0.5 ? randomFraction() : -1.0;
        }
        d.next = randomFraction();
        if (wanted(d))
            return {seed, d};
    }
}

class DriftSceneTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        openWindow(64, 64);
        setSeconds(0.0);
        appWindow.renderer = new Kaleidoscope(64, 64);
    }
    void setSeconds(double s) { seam::setCounter(kTicksPerSecond, int64_t(s * kTicksPerSecond)); }
    Kaleidoscope &renderer() { return *appWindow.renderer; }
    DriftScene &scene() { return *currentDriftScene(); }
    // Sets the scene up so that its next rebirth re-rolls.
    void dueForReroll()
    {
        scene().rerollPeriod = 5;
        scene().rerollCount = 5;
    }
};

TEST_F(DriftSceneTest, EveryRunStartsWithTwelveWedges)
{
    ASSERT_EQ(renderer().scene, currentDriftScene());
    EXPECT_EQ(renderer().currentWedge, &renderer().wedges[1]);
    renderer().renderFrame(kMirrorsRequested);
    EXPECT_FLOAT_EQ(renderer().wedgeForFrame().angle, 30.0f);
}

TEST_F(DriftSceneTest, RerollWhoseThreeTestsMissKeepsSizeSpinAndAspect)
{
    DriftScene &s = scene();
    const float size = s.size, spin = s.spin, aspect = s.aspect;
    const auto [seed, draws] = seedWhere([](const RerollDraws &d) {
        return d.test[0] >= 0.5 && d.test[1] >= 0.5 && d.test[2] >= 0.5;
    });
    dueForReroll();
    seedRandom(seed);
    s.tickParameters();
    EXPECT_EQ(s.size, size);
    EXPECT_EQ(s.spin, spin);
    EXPECT_EQ(s.aspect, aspect);
    EXPECT_EQ(s.sizeChange, 0.0f);
    EXPECT_EQ(s.rerollCount, 0);
    EXPECT_EQ(s.rerollPeriod, 1 + static_cast<int>(draws.period * 100));
    EXPECT_EQ(s.uniform, static_cast<int>(draws.uniform * 2) == 0);
    EXPECT_EQ(s.discCell, static_cast<int>(draws.cell * 8));
    EXPECT_EQ(randomFraction(), draws.next);  // exactly those draws were made, no more
}

TEST_F(DriftSceneTest, NewTargetsLieInTheOtherHalfOfTheirRanges)
{
    DriftScene &s = scene();
    const auto [seed, draws] = seedWhere([](const RerollDraws &d) {
        return d.test[0] < 0.5 && d.test[1] < 0.5 && d.test[2] < 0.5;
    });
    // Size exactly 0.5005 counts as the upper half: the new target is drawn from the lower.
    s.size = 0.5005f;
    s.spin = 700.0f;  // 700 counts as the lower half of 0...1400
    dueForReroll();
    seedRandom(seed);
    s.tickParameters();
    EXPECT_NEAR(s.sizeStart + s.sizeChange, draws.value[0] * 0.4995 + 0.001, 1e-6);
    EXPECT_NEAR(s.spinStart + s.spinChange, draws.value[1] * 700 + 700, 1e-3);
    EXPECT_NEAR(s.aspectStart + s.aspectChange, draws.value[2] * 0.55 + 0.05, 1e-6);

    s.size = 0.5f;
    s.spin = 700.5f;
    dueForReroll();
    seedRandom(seed);
    s.tickParameters();
    EXPECT_NEAR(s.sizeStart + s.sizeChange, draws.value[0] * 0.4995 + 0.4995 + 0.001, 1e-6);
    EXPECT_NEAR(s.spinStart + s.spinChange, draws.value[1] * 700, 1e-3);
}

TEST_F(DriftSceneTest, ParametersEaseToTheirTargetOverThePeriod)
{
    DriftScene &s = scene();
    s.rerollPeriod = 4;
    s.rerollCount = 0;
    s.sizeStart = 0.2f, s.sizeChange = 0.4f;
    s.spinStart = 100.0f, s.spinChange = 800.0f;
    s.aspectStart = 0.1f, s.aspectChange = 0.2f;
    s.tickParameters();
    s.tickParameters();  // half way: smoothstep(0.5) = 0.5
    EXPECT_FLOAT_EQ(s.size, 0.4f);
    EXPECT_FLOAT_EQ(s.spin, 500.0f);
    s.tickParameters();
    s.tickParameters();
    EXPECT_FLOAT_EQ(s.size, 0.6f);
    EXPECT_FLOAT_EQ(s.aspect, 0.3f);
}

TEST_F(DriftSceneTest, LastDiscStartsAtPhaseOneAndIsRebornOnceTheClockMoves)
{
    Disc &last = scene().discs[99];
    EXPECT_EQ(last.phase, 1.0f);
    scene().rerollPeriod = 1000000;  // no re-roll, so no morph can change the wedge under the disc
    scene().rerollCount = 0;
    const float birth = last.birthTime;
    renderer().renderFrame(kMirrorsRequested);  // clock still at 0: phase exactly 1 is no rebirth
    EXPECT_EQ(last.phase, 1.0f);
    EXPECT_EQ(last.birthTime, birth);
    setSeconds(0.010);
    renderer().renderFrame(kMirrorsRequested);
    EXPECT_LT(last.phase, 0.01f);
    EXPECT_NE(last.birthTime, birth);
    EXPECT_NEAR(last.position[0], -renderer().currentWedge->edgeLength, 0.1);
}

TEST_F(DriftSceneTest, StallLongerThanALifeGivesEachDiscOneRebirth)
{
    DriftScene &s = scene();
    renderer().renderFrame(kMirrorsRequested);
    std::vector<float> phases;
    for (int i = 0; i < kDiscCount; ++i)
        phases.push_back(s.discs[i].phase);
    s.rerollPeriod = 1000000;  // count the rebirths without re-rolling
    s.rerollCount = 0;
    setSeconds(100.0);
    renderer().renderFrame(kMirrorsRequested);
    EXPECT_EQ(s.rerollCount, kDiscCount);
    for (int i = 0; i < kDiscCount; ++i) {
        const double expected = phases[i] + 100.0 / 32.0;
        EXPECT_NEAR(s.discs[i].phase, expected - std::floor(expected), 1e-4) << "disc " << i;
    }
}

TEST_F(DriftSceneTest, SpinNeverEndsBelow720AndUniformDiscsShareTheirValues)
{
    DriftScene &s = scene();
    s.started = 1;
    s.spin = 10.0f;
    for (int uniform : {0, 1}) {
        s.uniform = uniform;
        for (int i = 0; i < kDiscCount; ++i) {
            respawnDisc(s.discs[i]);
            EXPECT_EQ(s.discs[i].spin, 720.0f);
        }
    }
    s.spin = 1000.0f;
    s.size = 0.4f;
    s.discCell = 5;
    for (int i = 0; i < 10; ++i) {
        respawnDisc(s.discs[i]);
        EXPECT_EQ(s.discs[i].spin, 1000.0f);
        EXPECT_FLOAT_EQ(s.discs[i].size, 0.65f);
        EXPECT_EQ(s.discs[i].cell, 5);
        EXPECT_EQ(s.discs[i].halfHeight, s.aspect);
        EXPECT_FLOAT_EQ(s.discs[i].textureWindow[0], 5 * 64.0f / 512.0f);
    }
}

}  // namespace
