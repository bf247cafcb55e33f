// Key commands: quit, display-mode switch, patterns 1-8, mirrors, feedback blur and snapshots.
#include "shell/app.h"

#include "render/kaleidoscope.h"

namespace {

const WPARAM kLastKeyCode = 255;

// Flips a byte toggle between 0 and 1.
void flip(uint8_t &flag) { flag = flag == 0 ? 1 : 0; }

// Acts on one key-down; auto-repeats act again, like a first press.
void runKeyCommand(AppWindow &appWindow, WPARAM code)
{
    Kaleidoscope *renderer = appWindow.renderer;
    if (code == VK_ESCAPE) {
        requestQuit(appWindow);
        return;
    }
    if (code == VK_F1) {
        requestModeSwitch(appWindow);
        return;
    }
    if (!renderer)  // a key that arrives before the pass's renderer exists has nothing to act on
        return;
    if (code >= '1' && code <= '8')
        renderer->selectPattern(static_cast<int>(code - '1'), true);
    else if (code == 'M' || code == VK_SUBTRACT)
        flip(renderer->mirrorsOff);
    else if (code == 'P')  // written from the next frame drawn, at the window's current size
        renderer->queueSnapshot();
    else if (code == 'S' || code == VK_F4)
        flip(renderer->feedbackOff);
}

}  // namespace

LRESULT handleKeyMessage(AppWindow *appWindow, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam)
{
    if (wParam > kLastKeyCode)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_KEYDOWN)
        runKeyCommand(*appWindow, wParam);
    return 0;
}
