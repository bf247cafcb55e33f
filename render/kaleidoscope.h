// The renderer: owns the eight wedge patterns, the scene, the viewport, the frame clock and the
// two user toggles, and draws the scene once per wedge, mirrored in every second wedge.
#pragma once

#include "render/scene.h"
#include "render/wedge.h"

#include <cstdint>

// Bit of renderFrame's flags that asks for mirrors.
const unsigned kMirrorsRequested = 0x10000;

// The patterns: pattern i fills the circle with 10 + 2i wedges, 10 to 24.
const int kPatternCount = 8;
// The number of wedges of a pattern.
constexpr int wedgeCountOf(int pattern) { return 10 + 2 * pattern; }
// The pattern with that many wedges (an even number from 10 to 24).
constexpr int patternWithWedges(int count) { return (count - 10) / 2; }

class Kaleidoscope {
public:
    // Builds a renderer for a width x height viewport; needs a current GL context.
    Kaleidoscope(int width, int height);
    ~Kaleidoscope();
    Kaleidoscope(const Kaleidoscope &) = delete;
    Kaleidoscope &operator=(const Kaleidoscope &) = delete;

    // Follows a new window size: viewport and projection.
    void resize(int width, int height);
    // Draws one frame; tells whether it took the full-clear path.
    bool renderFrame(unsigned flags);
    // Writes the back buffer (the GL's read buffer) as a numbered PNG in the current directory.
    // Before the swap that is the frame just drawn when it took the full-clear path; an
    // incremental scene draws its later frames into the front buffer, which this does not read.
    void takeSnapshot();
    // Asks for a snapshot of the next frame drawn.
    void queueSnapshot();
    // Writes one snapshot per queued request; called between drawing a frame and presenting it.
    void writeQueuedSnapshots();

    // Makes pattern index mod 8 current, morphing to it over two seconds when animate is set.
    void selectPattern(int index, bool animate);
    // Selects one of the eight patterns at random.
    void selectRandomPattern(bool animate);
    // The wedge to draw this frame: the current one, or the morph's in-between wedge.
    const Wedge &wedgeForFrame();

    // Starts the process-wide clock; later calls, from later renderers, do nothing.
    void startClock();
    // Advances time and, once a second, measures the frame rate and moves the frame delay.
    void tickClock();

    // Makes the 128 x 128 feedback texture in this renderer's context.
    void createFeedbackTexture();
    // Draws the frame into the 128 x 128 corner, copies it to the feedback texture, wipes it.
    void captureFeedback(const Wedge &wedge);
    // Adds the capture over the viewport in layers, each magnified more and fainter.
    void drawFeedbackOverlay(int layers, float step);
    // Switches to the overlay's 640 x 480 orthographic space.
    void beginOverlayProjection();
    // Returns from the overlay space to the scene's matrices.
    void endOverlayProjection();

    Wedge wedges[kPatternCount] = {};
    Scene *scene = nullptr;
    int32_t sceneKind = 0;
    int32_t viewportWidth = 0;
    int32_t viewportHeight = 0;
    Wedge *currentWedge = nullptr;
    // The wedge whose two planes clip the pass being drawn; null while nothing is clipped.
    const Wedge *clippingWedge = nullptr;
    uint8_t mirrorsOn = 0;
    uint8_t depthSetup = 0;
    float measuredRate = 0;
    // Seconds since the clock started. Double precision keeps 1 ms steps after months of
    // uptime; a float's step is 2 s after 200 days.
    double time = 0;
    double lastMeasurementTime = 0;
    int32_t framesSinceMeasurement = 0;
    int32_t targetRate = 0;  // frames per second
    int32_t frameDelay = 0;  // milliseconds slept after each presented frame
    uint8_t mirrorsOff = 0;
    uint8_t feedbackOff = 0;
    int32_t queuedSnapshots = 0;  // key presses waiting for the next drawn frame

private:
    // Viewport and perspective projection for the stored size.
    void applyProjection();
    // Draws the scene in every wedge (or once, without mirrors).
    void drawWedges(const Wedge &wedge, int mainPass);
    // Tests the GL for the feedback pass's two extensions and makes its texture when both are there.
    void setUpFeedback();
    // Whether this frame runs the feedback blur pass.
    bool feedbackWanted();
};
