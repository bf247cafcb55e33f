// Fixtures and helpers for tests that need a real window and GL context, made by the shell.
#pragma once

#include "bench/scratch_folder.h"
#include "platform/gl.h"
#include "platform/sdl/test_seam.h"
#include "render/kaleidoscope.h"
#include "shell/process_state.h"
#include "render/scene.h"
#include "shell/app.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A window of the program's class with a current GL context.
class GLWindowTest : public ::testing::Test {
protected:
    // Opens a framed window with that client size (full-screen windows take the desktop's).
    void openWindow(int clientWidth, int clientHeight, int fullScreen = 0);
    // Opens a window and builds a renderer sized to its client area.
    Kaleidoscope &openRenderer(int clientWidth, int clientHeight);
    // The same, with the hand-driven counter at that many seconds.
    Kaleidoscope &openRendererAt(int clientWidth, int clientHeight, double seconds);
    void TearDown() override;

    Application application = {};
    AppWindow appWindow = {};
};

// RGB pixels of the current read buffer, bottom row first.
std::vector<unsigned char> readPixels(int width, int height);
// The alpha texels of the bound width x height texture's level 0, its first row first.
std::vector<unsigned char> alphaTexels(int width, int height);

// A scene that counts what the renderer asks of it and can draw one small asymmetric mark.
class ProbeScene : public Scene {
public:
    explicit ProbeScene(Kaleidoscope *owner) : Scene(owner) {}
    void drawContent() override;
    void beginFrame(int mainPass) override { beginPasses.push_back(mainPass); }
    bool drawsIncrementally() override { return incremental; }
    bool wantsFeedback() override { return feedback; }
    bool allowsMirrors() override { return mirrors; }

    int drawCalls = 0;
    std::vector<int> beginPasses;
    bool drawMark = false;
    bool incremental = false;
    bool feedback = false;
    bool mirrors = true;
};

// The hand-driven counter runs at SDL's rate, so the clock's arithmetic is that of a real run.
const int64_t kTicksPerSecond = 1000000000;
const int64_t kTicksPerMillisecond = kTicksPerSecond / 1000;
// Drawing time of a frame, before the frame delay.
const int64_t kFrameCost = 4 * kTicksPerMillisecond;

// Sets the hand-driven counter to that many seconds.
void setSeconds(double seconds);
// Drives the hand-driven counter on from `from` to `to`, ticking the renderer's clock in steps
// a running program's frames could take, so that its time line reaches `to` as if it had run all
// along: the clock takes one long step as a stop, not as time.
void runClockBetween(Kaleidoscope &renderer, int64_t from, int64_t to);
// Runs the clock frame after frame for that many seconds from the counter value `ticks` (moved
// on to the end), each frame costing kFrameCost plus the frame delay; the rates the regulator
// measured in the last ten seconds. `eachFrame` runs after every tick.
std::vector<float> regulatedRates(Kaleidoscope &renderer, int64_t &ticks, int seconds,
                                  const std::function<void()> &eachFrame = [] {});

// Replaces the renderer's scene with a probe and returns it.
ProbeScene &installProbe(Kaleidoscope &renderer);

// Runs the whole program with that answer to the start question, logging its calls afresh and
// calling onFrame(n) before the n-th buffer swap (from 1); the program's exit status.
int runProgram(int answer, std::function<void(int frame)> onFrame);
// Posts a message to the window the program made last.
void postToProgram(UINT message, WPARAM wParam = 0);

// Takes every message queued for the window out, pumping the window system's events first.
std::vector<MSG> takeMessages(HWND window);
// The kinds of the messages taken so.
std::vector<UINT> takeMessageKinds(HWND window);

// Whether the log holds that entry (exactly, or as "name detail").
bool logged(const std::string &entry);
// Position of the first log entry at or after `from` that starts with `prefix`; -1 if none.
int findCall(const std::string &prefix, int from = 0);

// A 64 x 48 window with a renderer; what the window system sent while it was made is taken out.
class RendererWindowTest : public GLWindowTest {
protected:
    void SetUp() override
    {
        openRenderer(64, 48);
        takeMessages(appWindow.window);
    }
};
