// Window fixture and shared helpers for GL tests.
#include "support/gl_window_test.h"

#include <algorithm>
#include <memory>

namespace {
// The mark: a small square 2 units out, 10 degrees past straight down, off the wedge edge, so
// its mirror image across that edge lands somewhere else.
const float kMarkX = 0.347f, kMarkY = -1.97f, kMarkSize = 0.12f;
// Seconds between clock ticks while a test runs the clock on: shorter than a stop.
const int64_t kRunningStepSeconds = 4;
}  // namespace

void GLWindowTest::openWindow(int clientWidth, int clientHeight, int fullScreen)
{
    application = {GetModuleHandleA(nullptr), "OpenGL"};
    ASSERT_TRUE(registerGLClass(application));
    appWindow.settings = {&application, "Brindlewick", clientWidth + 8, clientHeight + 64, 32,
                          fullScreen};
    ASSERT_TRUE(createRenderWindow(appWindow));
    shellState.rendererSlot = &appWindow.renderer;
}

Kaleidoscope &GLWindowTest::openRenderer(int clientWidth, int clientHeight)
{
    openWindow(clientWidth, clientHeight);
    appWindow.renderer = new Kaleidoscope(clientWidth, clientHeight);
    return *appWindow.renderer;
}

Kaleidoscope &GLWindowTest::openRendererAt(int clientWidth, int clientHeight, double seconds)
{
    setSeconds(seconds);
    return openRenderer(clientWidth, clientHeight);
}

void GLWindowTest::TearDown()
{
    delete appWindow.renderer;
    appWindow.renderer = nullptr;
    destroyRenderWindow(appWindow);
    UnregisterClassA("OpenGL", application.instance);
    shellState.rendererSlot = nullptr;
}

std::vector<unsigned char> readPixels(int width, int height)
{
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<unsigned char> alphaTexels(int width, int height)
{
    std::vector<unsigned char> texels(size_t(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

void ProbeScene::drawContent()
{
    ++drawCalls;
    if (!drawMark)
        return;
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(kMarkX - kMarkSize, kMarkY - kMarkSize);
    glVertex2f(kMarkX + kMarkSize, kMarkY - kMarkSize);
    glVertex2f(kMarkX + kMarkSize, kMarkY + kMarkSize);
    glVertex2f(kMarkX - kMarkSize, kMarkY + kMarkSize);
    glEnd();
}

ProbeScene &installProbe(Kaleidoscope &renderer)
{
    delete renderer.scene;
    ProbeScene *probe = new ProbeScene(&renderer);
    renderer.scene = probe;
    return *probe;
}

void setSeconds(double seconds)
{
    seam::setCounter(kTicksPerSecond, static_cast<int64_t>(seconds * kTicksPerSecond));
}

void runClockBetween(Kaleidoscope &renderer, int64_t from, int64_t to)
{
    for (int64_t ticks = from; ticks < to;) {
        ticks = std::min(to, ticks + kRunningStepSeconds * kTicksPerSecond);
        seam::setCounter(kTicksPerSecond, ticks);
        renderer.tickClock();
    }
}

std::vector<float> regulatedRates(Kaleidoscope &renderer, int64_t &ticks, int seconds,
                                  const std::function<void()> &eachFrame)
{
    std::vector<float> rates;
    const int64_t end = ticks + seconds * kTicksPerSecond;
    while (ticks < end) {
        ticks += kFrameCost + renderer.frameDelay * kTicksPerMillisecond;
        seam::setCounter(kTicksPerSecond, ticks);
        renderer.tickClock();
        eachFrame();
        if (renderer.framesSinceMeasurement == 0 && end - ticks <= 10 * kTicksPerSecond)
            rates.push_back(renderer.measuredRate);
    }
    return rates;
}

int runProgram(int answer, std::function<void(int frame)> onFrame)
{
    seam::setMessageBoxAnswer(answer);
    seam::recordCalls();
    auto frames = std::make_shared<int>(0);  // the hook outlives this call
    seam::onCall("SwapBuffers", [=] { onFrame(++*frames); });
    return runApplication(GetModuleHandleA(nullptr));
}

void postToProgram(UINT message, WPARAM wParam)
{
    PostMessageA(seam::lastWindow(), message, wParam, 0);
}

std::vector<MSG> takeMessages(HWND window)
{
    std::vector<MSG> messages;
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
        messages.push_back(message);
    return messages;
}

std::vector<UINT> takeMessageKinds(HWND window)
{
    std::vector<UINT> kinds;
    for (const MSG &message : takeMessages(window))
        kinds.push_back(message.message);
    return kinds;
}

bool logged(const std::string &entry) { return findCall(entry) >= 0; }

int findCall(const std::string &prefix, int from)
{
    const auto &calls = seam::calls();
    for (size_t i = from; i < calls.size(); ++i)
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            return static_cast<int>(i);
    return -1;
}
