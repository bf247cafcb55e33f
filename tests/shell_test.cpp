// The shell's window: drawing while minimised and restored, its place, the requests it refuses,
// and every failure path of its creation.
#include "support/gl_window_test.h"

#include "platform/sdl/internal.h"

namespace {

// Drains what the window system queued while the window was made.
void drainMessages(HWND window)
{
    for (const MSG &message : takeMessages(window))
        DispatchMessageA(&message);
}

class Shell : public GLWindowTest {};

// Pushes an event SDL's wait wakes on, past a deadline: a wait that a posted message failed to
// end then ends too, and the test sees it.
Uint32 wakeLateWait(Uint32, void *fired)
{
    SDL_AtomicSet(static_cast<SDL_atomic_t *>(fired), 1);
    SDL_Event event = {};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
    return 0;
}

TEST_F(Shell, MinimisedWindowDrawsNothingAndAPostedRestoreWakesItToDrawAtItsNewSize)
{
    openWindow(100, 100);
    // A size message before the renderer exists still activates the window.
    appWindow.active = 0;
    windowProcedure(appWindow.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
    EXPECT_EQ(appWindow.active, 1);

    appWindow.renderer = new Kaleidoscope(100, 100);
    drainMessages(appWindow.window);
    seam::recordCalls();
    int waits = 0;
    seam::pushWindowEvent(appWindow.window, seam::WindowEvent::Minimized);
    // Posted while the loop waits, with no input event behind it: the wait must end at once.
    seam::onCall("WaitMessage", [&] {
        if (++waits == 1)
            PostMessageA(appWindow.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(80, 60));
        else  // still waiting after the restore: end the loop so the test can fail
            PostMessageA(appWindow.window, WM_QUIT, 0, 0);
    });
    seam::onCall("SwapBuffers", [&] { PostMessageA(appWindow.window, WM_QUIT, 0, 0); });
    const Uint32 kDeadlineMs = 10000;
    SDL_atomic_t deadlinePassed = {0};
    const SDL_TimerID deadline = SDL_AddTimer(kDeadlineMs, wakeLateWait, &deadlinePassed);
    runMessageLoop(appWindow);
    SDL_RemoveTimer(deadline);

    EXPECT_EQ(SDL_AtomicGet(&deadlinePassed), 0);  // woken by the posted message, not the deadline
    EXPECT_EQ(waits, 1);
    const int wait = findCall("WaitMessage");
    ASSERT_GE(wait, 0);
    EXPECT_GT(findCall("SwapBuffers"), wait);  // nothing was drawn while minimised
    EXPECT_EQ(appWindow.active, 1);
    EXPECT_EQ(appWindow.renderer->viewportWidth, 80);
    EXPECT_EQ(appWindow.renderer->viewportHeight, 60);

    // Dragging an edge restores rather than maximises: the picture follows that size too.
    windowProcedure(appWindow.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 90));
    EXPECT_EQ(appWindow.renderer->viewportWidth, 120);
    EXPECT_EQ(appWindow.renderer->viewportHeight, 90);
}

TEST_F(Shell, FramedWindowHasItsOuterCornerAtTheScreenOrigin)
{
    openWindow(200, 150);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    int clientX = -1, clientY = -1;
    SDL_GetWindowPosition(appWindow.window->sdl, &clientX, &clientY);
    EXPECT_EQ(clientX + frame.left, 0);
    EXPECT_EQ(clientY + frame.top, 0);
}

TEST_F(Shell, MessagesLeftForADestroyedWindowAreDropped)
{
    openWindow(64, 64);
    drainMessages(appWindow.window);
    PostMessageA(appWindow.window, WM_QUIT, 0, 0);
    destroyRenderWindow(appWindow);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Shell, ScreenSaverAndMonitorPowerDownAreRefusedAndTheCloseCommandQuits)
{
    for (int fullScreen : {0, 1}) {
        openWindow(100, 100, fullScreen);
        drainMessages(appWindow.window);
        shellState.keepRunning = 1;
        seam::recordCalls();
        EXPECT_EQ(windowProcedure(appWindow.window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
        EXPECT_EQ(windowProcedure(appWindow.window, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
        EXPECT_FALSE(logged("DefWindowProcA")) << fullScreen;  // no default handling
        EXPECT_EQ(shellState.keepRunning, 1);
        windowProcedure(appWindow.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(takeMessageKinds(appWindow.window), std::vector<UINT>{WM_QUIT}) << fullScreen;
        EXPECT_EQ(shellState.keepRunning, 0);
        TearDown();
        appWindow = {};
    }
}

// A failed creation step, and what must follow it, in order.
struct FailureCase {
    const char *call;
    std::vector<std::string> releases;
};

void PrintTo(const FailureCase &failure, std::ostream *out) { *out << failure.call << " fails"; }

// The layer's calls after the failed one, by name, without the default handling of messages.
std::vector<std::string> callsAfter(const std::string &failed)
{
    const auto &calls = seam::calls();
    std::vector<std::string> after;
    for (size_t i = findCall(failed) + 1; i < calls.size(); ++i)
        if (calls[i].rfind("DefWindowProcA", 0) != 0)
            after.push_back(calls[i].substr(0, calls[i].find(' ')));
    return after;
}

// The pointer's display counter, left as it was: the pointer shows while it is >= 0.
int cursorCount()
{
    ShowCursor(TRUE);
    return ShowCursor(FALSE);
}

class WindowCreationFailure : public ::testing::TestWithParam<FailureCase> {};

// A full-screen window hides the pointer first: a failure gives everything back, the pointer
// too, so the error box that follows has one.
TEST_P(WindowCreationFailure, ReleasesWhatWasObtainedInOrderAndShowsThePointerForTheErrorBox)
{
    const FailureCase &failure = GetParam();
    seam::failCall(failure.call);
    Application application = {GetModuleHandleA(nullptr), "OpenGL"};
    ASSERT_TRUE(registerGLClass(application));
    AppWindow appWindow = {};
    appWindow.settings = {&application, "Brindlewick", 300, 300, 32, 1};
    const int pointer = cursorCount();
    seam::recordCalls();
    EXPECT_FALSE(createRenderWindow(appWindow));
    EXPECT_EQ(appWindow.window, nullptr);
    EXPECT_EQ(appWindow.deviceContext, nullptr);
    EXPECT_EQ(appWindow.glContext, nullptr);
    ASSERT_TRUE(logged(failure.call));
    std::vector<std::string> releases = failure.releases;
    releases.push_back("ShowCursor");
    EXPECT_EQ(callsAfter(failure.call), releases);
    EXPECT_EQ(cursorCount(), pointer);
    UnregisterClassA("OpenGL", application.instance);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, WindowCreationFailure,
    ::testing::Values(FailureCase{"CreateWindowExA", {}},
                      FailureCase{"GetDC", {"DestroyWindow"}},
                      FailureCase{"ChoosePixelFormat", {"ReleaseDC", "DestroyWindow"}},
                      FailureCase{"SetPixelFormat", {"ReleaseDC", "DestroyWindow"}},
                      FailureCase{"wglCreateContext", {"ReleaseDC", "DestroyWindow"}},
                      FailureCase{"wglMakeCurrent",
                                  {"wglDeleteContext", "ReleaseDC", "DestroyWindow"}}),
    [](const ::testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.call); });

}  // namespace
