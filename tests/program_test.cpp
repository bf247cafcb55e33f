// The whole program: the start question, the passes with the display-mode switch, how it ends,
// and thousands of windows one after another; keys and window events arrive as the window
// system delivers them.
#include "support/gl_window_test.h"

#include "platform/sdl/internal.h"

namespace {

const char *const kWindowedCreate = "CreateWindowExA 0x40100 0x6CF0000 1032x743";
const char *const kFullScreenCreate = "CreateWindowExA 0x40008 0x86000000 1024x768";
// Key positions: USB HID usages.
const int kKeyEscape = 41, kKeyF1 = 58, kKeyF4 = 61;

// Presses a key in the program's window, as the user would.
void pressInProgram(int position, unsigned modifiers = 0)
{
    seam::pushKey(seam::lastWindow(), position, 0, seam::KeyAction::Press, modifiers);
}

TEST(Program, CloseButtonAndAltF4QuitWithStatusZeroAfterTheWindowIsGone)
{
    const std::function<void()> ways[] = {
        [] { seam::pushWindowEvent(seam::lastWindow(), seam::WindowEvent::Close); },
        [] { pressInProgram(kKeyF4, seam::kAlt); }};
    for (const auto &close : ways) {
        seam::reset();
        int frames = 0;
        const int status = runProgram(IDNO, [&](int frame) {
            frames = frame;
            if (frame == 1)
                close();
            else  // it did not close: close it so the test ends
                postToProgram(WM_CLOSE);
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(frames, 1);
        const int destroyed = findCall("DestroyWindow");
        ASSERT_GE(destroyed, 0);
        EXPECT_GT(findCall("UnregisterClassA"), destroyed);
        EXPECT_EQ(findCall("CreateWindowExA", 1 + findCall("CreateWindowExA")), -1);
    }
}

TEST(Program, StartQuestionAndItsAnswers)
{
    for (int answer : {IDNO, IDYES, 0}) {
        seam::reset();
        runProgram(answer, [](int frame) {
            if (frame == 1)
                postToProgram(WM_CLOSE);
        });
        EXPECT_EQ(findCall("MessageBoxA"),
                  findCall("MessageBoxA Start FullScreen?: Would You Like To Run In Fullscreen Mode?"));
        // No opens a framed window; Yes, or a box that could not be shown, a full-screen one.
        EXPECT_TRUE(logged(answer == IDNO ? kWindowedCreate : kFullScreenCreate)) << answer;
    }
}

TEST(Program, FramedWindowAfterTwoSwitchesAsksForTheFirstSizeWhateverTheUserMadeIt)
{
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
            postToProgram(kModeSwitchMessage);
        } else {
            GetClientRect(window, &client);
            postToProgram(WM_CLOSE);
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

TEST(Program, F1BuildsAFullScreenWindowAndRendererWhileClockAndMorphCarryOnAndEscapeQuits)
{
    float timeBefore = 0;
    float angleAfter = 0;
    int mirrorsOffAfter = -1;
    std::vector<int> pointer;  // what SDL reports on the first frame of each window
    HWND first = nullptr;
    const int status = runProgram(IDNO, [&](int frame) {
        Kaleidoscope *renderer = *shellState.rendererSlot;
        if (frame == 1) {
            pointer.push_back(SDL_ShowCursor(SDL_QUERY));
        } else if (frame == 3) {
            first = seam::lastWindow();
            timeBefore = renderer->time;
            renderer->mirrorsOff = 1;
            renderer->selectPattern(7, true);  // a morph from 30 towards 15 degrees
            pressInProgram(kKeyF1);
        } else if (first && seam::lastWindow() != first && mirrorsOffAfter < 0) {
            pointer.push_back(SDL_ShowCursor(SDL_QUERY));
            mirrorsOffAfter = renderer->mirrorsOff;
            angleAfter = renderer->wedgeForFrame().angle;
            EXPECT_GE(renderer->time, timeBefore);
            pressInProgram(kKeyEscape);
        }
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(mirrorsOffAfter, 0);  // a new renderer, with its toggles clear
    EXPECT_LT(angleAfter, 30.0f);   // still morphing, though the new scene chose 12 wedges
    EXPECT_GE(angleAfter, 15.0f);
    const int windowed = findCall(kWindowedCreate);
    ASSERT_GE(windowed, 0);
    EXPECT_GT(findCall(kFullScreenCreate), windowed);
    // The pointer hides over the full-screen window only, and comes back after it.
    EXPECT_EQ(pointer, (std::vector<int>{SDL_ENABLE, SDL_DISABLE}));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(Program, DoubleF1SwitchesTwiceAndTheStrayQuitCannotEndTheNextWindow)
{
    HWND first = nullptr;
    int framesInSecond = 0;
    const int status = runProgram(IDNO, [&](int frame) {
        if (frame == 1) {
            first = seam::lastWindow();
            postToProgram(kModeSwitchMessage);
            postToProgram(kModeSwitchMessage);  // two quits follow; the second is left for a dead window
        } else if (seam::lastWindow() != first && ++framesInSecond == 3) {
            postToProgram(WM_CLOSE);
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
    seam::failCall("RegisterClassExA");
    EXPECT_EQ(runProgram(IDNO, [](int) {}), -1);
    const int first = findCall("MessageBoxA Error: RegisterClassEx Failed!");
    ASSERT_GE(first, 0);
    EXPECT_GT(findCall("MessageBoxA Error: Error Registering Window Class!"), first);
    EXPECT_FALSE(logged("CreateWindowExA"));
}

// The full-screen window hid the pointer as it was made: the error box must have it back.
TEST(Program, WindowThatCannotBeMadeAfterAModeSwitchEndsTheProgramOverAPointer)
{
    int pointerAtBox = -1;
    const int status = runProgram(IDNO, [&](int frame) {
        if (frame == 1) {
            seam::failCall("wglCreateContext");
            seam::onCall("MessageBoxA", [&] { pointerAtBox = SDL_ShowCursor(SDL_QUERY); });
            postToProgram(kModeSwitchMessage);
        }
    });
    EXPECT_EQ(status, 1);  // nothing runs: a launcher must see it
    EXPECT_TRUE(logged(kFullScreenCreate));
    const int box = findCall("MessageBoxA Error: Error Creating OpenGL Window");
    EXPECT_GT(box, findCall(kFullScreenCreate));
    EXPECT_GT(findCall("UnregisterClassA"), box);
    EXPECT_EQ(pointerAtBox, SDL_ENABLE);
}

// Every F1 switch makes a new window and GL context: a long run makes thousands. Once, each
// window loaded SDL's GL library afresh, and the 1,022nd could not make its context current.
TEST(Program, ThousandsOfWindowsOneAfterAnotherEachGetACurrentContext)
{
    const int kWindows = 1100;
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
