// Key commands through the window procedure.
#include "support/gl_window_test.h"

#include <filesystem>

namespace {

const LPARAM kRepeat = MAKELPARAM(0, KF_REPEAT);

class Keys : public RendererWindowTest {
protected:
    LRESULT key(WPARAM code, UINT message = WM_KEYDOWN, LPARAM lParam = 1)
    {
        return windowProcedure(appWindow.window, message, code, lParam);
    }
    Kaleidoscope &renderer() { return *appWindow.renderer; }
    // The messages waiting in the window's queue, taken out.
    std::vector<UINT> queued() { return takeMessageKinds(appWindow.window); }
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
    shellState.keepRunning = 1;
    EXPECT_EQ(key('M', WM_KEYUP), 0);
    EXPECT_EQ(key(VK_ESCAPE, WM_KEYUP), 0);
    key(256 + 'M');
    key(256 + VK_ESCAPE);
    EXPECT_EQ(renderer().mirrorsOff, 0);
    EXPECT_EQ(shellState.keepRunning, 1);
    EXPECT_EQ(queued(), std::vector<UINT>{});
}

TEST_F(Keys, EscapeQuitsAndF1AsksForTheOtherMode)
{
    shellState.keepRunning = 1;
    key(VK_F1);
    EXPECT_EQ(queued(), std::vector<UINT>{kModeSwitchMessage});
    EXPECT_EQ(shellState.keepRunning, 1);
    key(VK_ESCAPE);
    EXPECT_EQ(queued(), std::vector<UINT>{WM_QUIT});
    EXPECT_EQ(shellState.keepRunning, 0);
}

TEST_F(Keys, KeysBeforeTheRendererExistsAreIgnored)
{
    ScratchFolder dir;
    delete appWindow.renderer;
    appWindow.renderer = nullptr;
    for (WPARAM code : {WPARAM('1'), WPARAM('M'), WPARAM('S'), WPARAM('P'), WPARAM(VK_F4)})
        EXPECT_EQ(key(code), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
