// The shell's window: its messages, its place, and every failure path of its creation, checked
// through the platform layer's call log.
#include "support/gl_window_test.h"

#include "platform/sdl/internal.h"


namespace {

// Drains what the window system queued while the window was made.
void drainMessages(HWND window)
{
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

class Shell : public GLWindowTest {};

TEST_F(Shell, MinimisingStopsDrawingAndRestoringResumesWithTheNewSize)
{
    openWindow(100, 100);
    // A size message before the renderer exists still activates the window.
    appWindow.active = 0;
    windowProcedure(appWindow.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
    EXPECT_EQ(appWindow.active, 1);

    appWindow.renderer = new Kaleidoscope(100, 100);
    drainMessages(appWindow.window);
    seam::recordCalls();
    PostMessageA(appWindow.window, WM_SIZE, SIZE_MINIMIZED, 0);
    seam::onCall("WaitMessage", [&] {
        PostMessageA(appWindow.window, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(80, 60));
    });
    seam::onCall("SwapBuffers", [&] { PostMessageA(appWindow.window, WM_QUIT, 0, 0); });
    runMessageLoop(appWindow);

    const int wait = findCall("WaitMessage"), swap = findCall("SwapBuffers");
    ASSERT_GE(wait, 0);
    EXPECT_GT(swap, wait);  // nothing was drawn while minimised
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

// Screen-saver and monitor power-down requests get no default handling; others do.
void expectSystemCommandsRefused(HWND window)
{
    seam::recordCalls();
    EXPECT_EQ(windowProcedure(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(windowProcedure(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
    EXPECT_FALSE(logged("DefWindowProcA"));
    windowProcedure(window, WM_SYSCOMMAND, 0xF060 /* SC_CLOSE */, 0);
    EXPECT_TRUE(logged("DefWindowProcA 274"));
}

TEST_F(Shell, ScreenSaverIsRefusedInAWindow)
{
    openWindow(100, 100, 0);
    expectSystemCommandsRefused(appWindow.window);
}

TEST_F(Shell, ScreenSaverIsRefusedFullScreen)
{
    openWindow(100, 100, 1);
    expectSystemCommandsRefused(appWindow.window);
}

struct FailureCase {
    const char *call;
    std::vector<std::string> releases;  // what follows the failed call, in order
};

void PrintTo(const FailureCase &failure, std::ostream *out) { *out << failure.call << " fails"; }

class WindowCreationFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WindowCreationFailure, ReleasesWhatWasObtainedInOrder)
{
    const FailureCase &failure = GetParam();
    seam::failCall(failure.call);
    Application application = {GetModuleHandleA(nullptr), "OpenGL"};
    ASSERT_TRUE(registerGLClass(application));
    AppWindow appWindow = {};
    appWindow.settings = {&application, "Brindlewick", 300, 300, 32, 0};
    seam::recordCalls();
    EXPECT_FALSE(createRenderWindow(appWindow));
    EXPECT_EQ(appWindow.window, nullptr);
    EXPECT_EQ(appWindow.deviceContext, nullptr);
    EXPECT_EQ(appWindow.glContext, nullptr);

    const auto &calls = seam::calls();
    const int failed = findCall(failure.call);
    ASSERT_GE(failed, 0);
    std::vector<std::string> after;
    for (size_t i = failed + 1; i < calls.size(); ++i)
        if (calls[i] != "DefWindowProcA 2")  // WM_DESTROY's default handling
            after.push_back(calls[i].substr(0, calls[i].find(' ')));
    EXPECT_EQ(after, failure.releases);
    EXPECT_FALSE(logged("ShowWindow"));
    UnregisterClassA("OpenGL", application.instance);

    // The whole program reports it and ends with status 1: nothing ran.
    EXPECT_EQ(runProgram(IDNO, [](int) {}), 1);
    EXPECT_TRUE(logged("MessageBoxA Error: Error Creating OpenGL Window"));
    EXPECT_GT(findCall("UnregisterClassA"), findCall("MessageBoxA Error: Error Creating"));
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

namespace {

// Every F1 switch makes a new window and GL context: a long run makes thousands. Once, each
// window loaded SDL's GL library afresh, and the 1,022nd could not make its context current.
TEST(Program, ThousandsOfWindowsOneAfterAnotherEachGetACurrentContext)
{
    const int kWindows = 1100;
    seam::reset();
    Application application = {GetModuleHandleA(nullptr), "OpenGL"};
    ASSERT_TRUE(registerGLClass(application));
    int made = 0;
    for (; made < kWindows; ++made) {
        AppWindow appWindow = {};
        appWindow.settings = {&application, "Brindlewick", 72, 112, 32, made % 2};
        if (!createRenderWindow(appWindow))
            break;
        destroyRenderWindow(appWindow);
    }
    EXPECT_EQ(made, kWindows);
    UnregisterClassA("OpenGL", application.instance);
}

}  // namespace
