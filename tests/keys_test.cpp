// Key commands through the window procedure, and the layer's virtual-key translation.
#include "support/gl_window_test.h"

#include "platform/sdl/internal.h"

#include <filesystem>

namespace {

const LPARAM kRepeat = LPARAM(1) << 30;

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

TEST_F(Keys, PWritesOneSnapshotPerPressAndRepeatFromTheNextFrame)
{
    ScopedTempDir dir;
    key('P');
    key('P', WM_KEYDOWN, 1 | kRepeat);
    key('P', WM_KEYDOWN, 1 | kRepeat);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // nothing drawn at this size yet
    presentFrame(appWindow);
    EXPECT_TRUE(std::filesystem::exists("snap_064_x_048_1.png"));
    EXPECT_TRUE(std::filesystem::exists("snap_064_x_048_3.png"));
    EXPECT_FALSE(std::filesystem::exists("snap_064_x_048_4.png"));
    presentFrame(appWindow);  // each press answered once
    EXPECT_FALSE(std::filesystem::exists("snap_064_x_048_4.png"));
}

TEST_F(Keys, EscapeQuitsAndF1AsksForTheOtherMode)
{
    shell::keepRunning = 1;
    seam::recordCalls();
    key(VK_F1);
    EXPECT_TRUE(logged("PostMessageA 1025"));
    EXPECT_EQ(shell::keepRunning, 1);
    key(VK_ESCAPE);
    EXPECT_TRUE(logged("PostMessageA 18"));
    EXPECT_EQ(shell::keepRunning, 0);
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
    seam::reset();
    seam::recordCalls();
    seam::setMessageBoxAnswer(IDNO);
    HWND first = nullptr;
    seam::onCall("SwapBuffers", [&] {
        if (!first) {
            first = seam::lastWindow();
            PostMessageA(first, WM_KEYDOWN, VK_F1, 1);
        } else if (seam::lastWindow() != first) {
            PostMessageA(seam::lastWindow(), WM_KEYDOWN, VK_ESCAPE, 1);
        }
    });
    EXPECT_EQ(runApplication(GetModuleHandleA(nullptr)), 0);
    EXPECT_TRUE(logged("CreateWindowExA 0x40100"));
    EXPECT_TRUE(logged("CreateWindowExA 0x40008"));
}

// An SDL key event as SDL would deliver it.
SDL_KeyboardEvent sdlKey(SDL_Scancode scan, SDL_Keycode symbol, Uint16 modifiers = KMOD_NONE)
{
    SDL_KeyboardEvent event = {};
    event.type = SDL_KEYDOWN;
    event.keysym.scancode = scan;
    event.keysym.sym = symbol;
    event.keysym.mod = modifiers;
    return event;
}

TEST(KeyTranslation, GivesWindowsVirtualKeyCodes)
{
    using win32sdl::virtualKeyFor;
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_P, SDLK_p)), WPARAM('P'));  // not 112, VK_F1
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_M, SDLK_m, KMOD_LSHIFT)), WPARAM('M'));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_S, SDLK_s, KMOD_CAPS)), WPARAM('S'));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_1, SDLK_1)), WPARAM('1'));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_8, SDLK_ASTERISK, KMOD_LSHIFT)), WPARAM('8'));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_0, SDLK_0)), WPARAM('0'));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS)), WPARAM(VK_SUBTRACT));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_KP_1, SDLK_KP_1)), WPARAM(97));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_KP_0, SDLK_KP_0)), WPARAM(96));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_F1, SDLK_F1)), WPARAM(112));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_F4, SDLK_F4)), WPARAM(115));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_F12, SDLK_F12)), WPARAM(123));
    EXPECT_EQ(virtualKeyFor(sdlKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)), WPARAM(27));
}

}  // namespace
