// The shell: window messages, the passes with the display-mode switch, and every failure path
// of window creation, checked through the platform layer's call log.
#include "support/gl_window_test.h"

#include "platform/sdl/internal.h"

#include <functional>

namespace {

// Drains what the window system queued while the window was made.
void drainMessages(HWND window)
{
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// Runs the whole program, logging its calls afresh, calling `onFrame(n)` before the n-th buffer
// swap (from 1).
int runProgram(int answer, std::function<void(int)> onFrame)
{
    seam::setMessageBoxAnswer(answer);
    seam::recordCalls();
    auto frames = std::make_shared<int>(0);
    seam::onCall("SwapBuffers", [=] { onFrame(++*frames); });
    return runApplication(GetModuleHandleA(nullptr));
}

// Posts a message to the window the program made last.
void post(UINT message, WPARAM wParam = 0)
{
    PostMessageA(seam::lastWindow(), message, wParam, 0);
}

const char *const kWindowedCreate = "CreateWindowExA 0x40100 0x6CF0000 1032x743";
const char *const kFullScreenCreate = "CreateWindowExA 0x40008 0x86000000 1024x768";

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

TEST(Program, CloseButtonQuitsWithStatusZeroAfterTheWindowIsGone)
{
    seam::reset();
    const int status = runProgram(IDNO, [](int frame) {
        if (frame == 1)
            post(WM_CLOSE);
    });
    EXPECT_EQ(status, 0);
    const int destroyed = findCall("DestroyWindow");
    ASSERT_GE(destroyed, 0);
    EXPECT_GT(findCall("UnregisterClassA"), destroyed);
    EXPECT_EQ(findCall("CreateWindowExA", 1 + findCall("CreateWindowExA")), -1);
}

TEST(Program, StartQuestionAndItsAnswers)
{
    for (int answer : {IDNO, IDYES, 0}) {
        seam::reset();
        runProgram(answer, [](int frame) {
            if (frame == 1)
                post(WM_CLOSE);
        });
        EXPECT_EQ(findCall("MessageBoxA"),
                  findCall("MessageBoxA Start FullScreen?: Would You Like To Run In Fullscreen Mode?"));
        // No opens a framed window; Yes, or a box that could not be shown, a full-screen one.
        EXPECT_TRUE(logged(answer == IDNO ? kWindowedCreate : kFullScreenCreate)) << answer;
    }
}

TEST(Program, FramedWindowAfterTwoSwitchesAsksForTheFirstSizeWhateverTheUserMadeIt)
{
    seam::reset();
    std::vector<HWND> windows;
    RECT client = {0, 0, 0, 0};
    runProgram(IDNO, [&](int) {
        HWND window = seam::lastWindow();
        if (!windows.empty() && windows.back() == window)
            return;  // one action per window, on its first frame
        windows.push_back(window);
        if (windows.size() == 1) {  // the user drags the framed window smaller
            SDL_SetWindowSize(window->sdl, 500, 400);
            PostMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(500, 400));
        }
        if (windows.size() < 3) {
            post(kModeSwitchMessage);
        } else {
            GetClientRect(window, &client);
            post(WM_CLOSE);
        }
    });
    ASSERT_EQ(windows.size(), 3u);
    const int first = findCall("CreateWindowExA");
    const int third = findCall("CreateWindowExA", 1 + findCall("CreateWindowExA", first + 1));
    ASSERT_GE(third, 0);
    EXPECT_EQ(seam::calls()[first], kWindowedCreate);
    EXPECT_EQ(seam::calls()[third], kWindowedCreate);
    EXPECT_EQ(client.right, 1016);
    EXPECT_EQ(client.bottom, 704);
}

TEST(Program, ModeSwitchBuildsANewWindowAndRendererWhileClockAndMorphCarryOn)
{
    seam::reset();
    float timeBefore = 0;
    float angleAfter = 0;
    int mirrorsOffAfter = -1;
    HWND first = nullptr;
    const int status = runProgram(IDNO, [&](int frame) {
        Kaleidoscope *renderer = *shell::rendererSlot;
        if (frame == 3) {
            first = seam::lastWindow();
            timeBefore = renderer->time;
            renderer->mirrorsOff = 1;
            renderer->selectPattern(7, true);  // a morph from 30 towards 15 degrees
            post(kModeSwitchMessage);
        } else if (first && seam::lastWindow() != first && mirrorsOffAfter < 0) {
            mirrorsOffAfter = renderer->mirrorsOff;
            angleAfter = renderer->wedgeForFrame().angle;
            EXPECT_GE(renderer->time, timeBefore);
            post(WM_CLOSE);
        }
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(mirrorsOffAfter, 0);  // a new renderer, with its toggles clear
    EXPECT_LT(angleAfter, 30.0f);   // still morphing, though the new scene chose 12 wedges
    EXPECT_GE(angleAfter, 15.0f);
    const int windowed = findCall(kWindowedCreate);
    const int fullScreen = findCall(kFullScreenCreate);
    ASSERT_GE(windowed, 0);
    ASSERT_GT(fullScreen, windowed);
    // The pointer hides for the full-screen window only, and comes back after it is destroyed.
    EXPECT_GT(findCall("ShowCursor FALSE"), findCall("DestroyWindow"));
    EXPECT_LT(findCall("ShowCursor FALSE"), fullScreen);
    EXPECT_GT(findCall("ShowCursor TRUE"), findCall("DestroyWindow", fullScreen));
}

TEST(Program, PointerIsHiddenOverTheFullScreenWindowOnly)
{
    seam::reset();
    std::vector<int> shown;  // what SDL reports on the first frame of each window
    HWND last = nullptr;
    runProgram(IDYES, [&](int) {
        if (seam::lastWindow() == last)
            return;
        last = seam::lastWindow();
        shown.push_back(SDL_ShowCursor(SDL_QUERY));
        post(shown.size() == 1 ? kModeSwitchMessage : WM_CLOSE);
    });
    EXPECT_EQ(shown, (std::vector<int>{SDL_DISABLE, SDL_ENABLE}));  // full-screen, then framed
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(Program, DoubleF1SwitchesTwiceAndTheStrayQuitCannotEndTheNextWindow)
{
    seam::reset();
    HWND first = nullptr;
    int framesInSecond = 0;
    const int status = runProgram(IDNO, [&](int frame) {
        if (frame == 1) {
            first = seam::lastWindow();
            post(kModeSwitchMessage);
            post(kModeSwitchMessage);  // two quits follow; the second is left for a dead window
        } else if (seam::lastWindow() != first && ++framesInSecond == 3) {
            post(WM_CLOSE);
        }
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(framesInSecond, 3);  // the new window lived on
    const int second = findCall("CreateWindowExA", findCall("CreateWindowExA") + 1);
    ASSERT_GE(second, 0);
    EXPECT_EQ(seam::calls()[second], kWindowedCreate);  // flipped twice: windowed again
}

TEST(Program, FailedClassRegistrationShowsBothBoxesAndReturnsMinusOne)
{
    seam::reset();
    seam::failCall("RegisterClassExA");
    EXPECT_EQ(runProgram(IDNO, [](int) {}), -1);
    const int first = findCall("MessageBoxA Error: RegisterClassEx Failed!");
    ASSERT_GE(first, 0);
    EXPECT_GT(findCall("MessageBoxA Error: Error Registering Window Class!"), first);
    EXPECT_FALSE(logged("CreateWindowExA"));
}

TEST(Program, WindowThatCannotBeMadeAfterAModeSwitchEndsTheProgram)
{
    seam::reset();
    const int status = runProgram(IDNO, [](int frame) {
        if (frame == 1) {
            seam::failCall("wglCreateContext");
            post(kModeSwitchMessage);
        }
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(logged(kFullScreenCreate));
    EXPECT_GT(findCall("MessageBoxA Error: Error Creating OpenGL Window"),
              findCall(kFullScreenCreate));
    EXPECT_TRUE(logged("UnregisterClassA"));
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
    seam::reset();
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

    // The whole program reports it and ends with status 0.
    EXPECT_EQ(runProgram(IDNO, [](int) {}), 0);
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
