// Fixtures and helpers for tests that need a real window and GL context, made by the shell.
#pragma once

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
    void TearDown() override;

    Application application = {};
    AppWindow appWindow = {};
};

// RGB pixels of the current read buffer, bottom row first.
std::vector<unsigned char> readPixels(int width, int height);

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

// Drives the hand-driven counter (that many ticks a second) on from `from` to `to`, ticking the
// renderer's clock in steps a running program's frames could take, so that its time line reaches
// `to` as if it had run all along: the clock takes one long step as a stop, not as time.
void runClockBetween(Kaleidoscope &renderer, int64_t frequency, int64_t from, int64_t to);

// Replaces the renderer's scene with a probe and returns it.
ProbeScene &installProbe(Kaleidoscope &renderer);

// Runs a test in a fresh temporary directory, returning to the old one afterwards.
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    const std::string &path() const { return dir; }

private:
    std::string dir;
    std::string previous;
};

// Runs the whole program with that answer to the start question, logging its calls afresh and
// calling onFrame(n) before the n-th buffer swap (from 1); the program's exit status.
int runProgram(int answer, std::function<void(int frame)> onFrame);
// Posts a message to the window the program made last.
void postToProgram(UINT message, WPARAM wParam = 0);

// Whether the log holds that entry (exactly, or as "name detail").
bool logged(const std::string &entry);
// Position of the first log entry at or after `from` that starts with `prefix`; -1 if none.
int findCall(const std::string &prefix, int from = 0);
