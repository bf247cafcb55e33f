// The pointer hidden for a full-screen window comes back when that window cannot be made, so
// the error box that follows has a pointer to answer it with.
#include "support/gl_window_test.h"

namespace {

// The display counter of the pointer, left as it was: it shows while the counter is >= 0.
int cursorCount()
{
    ShowCursor(TRUE);
    return ShowCursor(FALSE);
}

class FullScreenCreationFailure : public ::testing::TestWithParam<const char *> {};

TEST_P(FullScreenCreationFailure, LeavesThePointerCountBalanced)
{
    seam::failCall(GetParam());
    Application application = {GetModuleHandleA(nullptr), "OpenGL"};
    ASSERT_TRUE(registerGLClass(application));
    AppWindow appWindow = {};
    appWindow.settings = {&application, "Brindlewick", 300, 300, 32, 1};
    const int before = cursorCount();
    EXPECT_FALSE(createRenderWindow(appWindow));
    EXPECT_EQ(cursorCount(), before);
    UnregisterClassA("OpenGL", application.instance);
}

TEST_P(FullScreenCreationFailure, TheErrorBoxHasAPointer)
{
    seam::recordCalls();
    seam::failCall(GetParam());
    seam::setMessageBoxAnswer(IDYES);
    int countAtBox = -1;
    seam::onCall("MessageBoxA", [&] { countAtBox = cursorCount(); });
    EXPECT_EQ(runApplication(GetModuleHandleA(nullptr)), 1);
    EXPECT_TRUE(logged("MessageBoxA Error: Error Creating OpenGL Window"));
    EXPECT_GE(countAtBox, 0);
}

INSTANTIATE_TEST_SUITE_P(EachStep, FullScreenCreationFailure,
                         ::testing::Values("CreateWindowExA", "GetDC", "ChoosePixelFormat",
                                           "SetPixelFormat", "wglCreateContext",
                                           "wglMakeCurrent"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             return std::string(info.param);
                         });

}  // namespace
