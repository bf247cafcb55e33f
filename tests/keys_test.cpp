// Key commands through the window procedure.
#include "support/gl_window_test.h"

#include <filesystem>

namespace {

const LPARAM kRepeat = MAKELPARAM(0, KF_REPEAT);

class Keys : public GLWindowTest {
protected:
    void SetUp() override { openRenderer(64, 48); }
    LRESULT key(WPARAM code, UINT message = WM_KEYDOWN, LPARAM lParam = 1)
    {
        return windowProcedure(appWindow.window, message, code, lParam);
    }
    Kaleidoscope &renderer() { return *appWindow.renderer; }
};

TEST_F(Keys, MainRowDigitsOneToEightChoosePatternsWithAMorph)
{
    for (WPARAM code = '1'; code <= '8'; ++code) {
        EXPECT_EQ(key(code), 0);
        EXPECT_EQ(renderer().currentWedge, &renderer().wedges[code - '1']);
    }
    renderer().time += 0.5f;
    EXPECT_NE(&renderer().wedgeForFrame(), renderer().currentWedge);  // morphing towards it
    for (WPARAM code : {WPARAM('9'), WPARAM('0'), WPARAM(VK_NUMPAD0 + 1), WPARAM(VK_NUMPAD0 + 3)}) {
        key(code);
        EXPECT_EQ(renderer().currentWedge, &renderer().wedges[7]) << code;
    }
}

TEST_F(Keys, MAndKeypadMinusFlipTheMirrorsSAndF4TheFeedbackRepeatsIncluded)
{
    key('M');
    EXPECT_EQ(renderer().mirrorsOff, 1);
    key('M', WM_KEYDOWN, 1 | kRepeat);
    EXPECT_EQ(renderer().mirrorsOff, 0);
    key(VK_SUBTRACT);
    EXPECT_EQ(renderer().mirrorsOff, 1);
    EXPECT_EQ(renderer().feedbackOff, 0);
    key('S');
    EXPECT_EQ(renderer().feedbackOff, 1);
    key(VK_F4, WM_KEYDOWN, 1 | kRepeat);
    EXPECT_EQ(renderer().feedbackOff, 0);
    EXPECT_EQ(renderer().mirrorsOff, 1);
}

TEST_F(Keys, KeyUpsAndCodesAbove255DoNothing)
{
    seam::recordCalls();
    EXPECT_EQ(key('M', WM_KEYUP), 0);
    EXPECT_EQ(key(VK_ESCAPE, WM_KEYUP), 0);
    EXPECT_FALSE(logged("DefWindowProcA"));
    EXPECT_FALSE(logged("PostMessageA"));
    key(256 + 'M');
    key(256 + 'M', WM_KEYUP);
    EXPECT_EQ(renderer().mirrorsOff, 0);
    EXPECT_TRUE(logged("DefWindowProcA 256"));
    EXPECT_TRUE(logged("DefWindowProcA 257"));
}

TEST_F(Keys, EscapeQuitsAndF1AsksForTheOtherMode)
{
    shellState.keepRunning = 1;
    seam::recordCalls();
    key(VK_F1);
    EXPECT_TRUE(logged("PostMessageA 1025"));
    EXPECT_EQ(shellState.keepRunning, 1);
    key(VK_ESCAPE);
    EXPECT_TRUE(logged("PostMessageA 18"));
    EXPECT_EQ(shellState.keepRunning, 0);
}

TEST_F(Keys, KeysBeforeTheRendererExistsAreIgnored)
{
    ScopedTempDir dir;
    delete appWindow.renderer;
    appWindow.renderer = nullptr;
    for (WPARAM code : {WPARAM('1'), WPARAM('M'), WPARAM('S'), WPARAM('P'), WPARAM(VK_F4)})
        EXPECT_EQ(key(code), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Program, F1SwitchesToFullScreenAndEscapeThenQuitsWithStatusZero)
{
    HWND first = nullptr;
    EXPECT_EQ(runProgram(IDNO, [&](int frame) {
                  if (frame == 1) {
                      first = seam::lastWindow();
                      postToProgram(WM_KEYDOWN, VK_F1);
                  } else if (seam::lastWindow() != first) {
                      postToProgram(WM_KEYDOWN, VK_ESCAPE);
                  }
              }),
              0);
    EXPECT_TRUE(logged("CreateWindowExA 0x40100"));
    EXPECT_TRUE(logged("CreateWindowExA 0x40008"));
}

}  // namespace
