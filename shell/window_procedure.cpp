// The window procedure and the actions it takes on the window's pass: quit, the display-mode
// switch and resizing; keys that command the picture go on to the key commands.
#include "shell/app.h"

#include "render/kaleidoscope.h"
#include "shell/shell_state.h"

namespace {

const WPARAM kLastKeyCode = 255;

// Passes a new client size to the renderer, if there is one yet.
void forwardResize(int32_t width, int32_t height)
{
    if (shellState.rendererSlot && *shellState.rendererSlot)
        (*shellState.rendererSlot)->resize(width, height);
}

// Ends the pass and the program.
void requestQuit(AppWindow &appWindow)
{
    PostMessageA(appWindow.window, WM_QUIT, 0, 0);
    shellState.keepRunning = 0;
}

// Ends the pass so the next one opens in the other display mode.
void requestModeSwitch(AppWindow &appWindow)
{
    PostMessageA(appWindow.window, kModeSwitchMessage, 0, 0);
}

// Key messages: Escape quits and F1 switches the mode; the other keys command the renderer.
// Auto-repeats act again, like a first press.
LRESULT handleKeyMessage(AppWindow &appWindow, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam)
{
    if (wParam > kLastKeyCode)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message != WM_KEYDOWN)
        return 0;
    if (wParam == VK_ESCAPE)
        requestQuit(appWindow);
    else if (wParam == VK_F1)
        requestModeSwitch(appWindow);
    else if (appWindow.renderer)  // a key before the pass's renderer exists has nothing to act on
        runKeyCommand(*appWindow.renderer, wParam);
    return 0;
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    AppWindow *appWindow = reinterpret_cast<AppWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE: {
        // Pointer-sized user data: a 32-bit window long would cut the pointer on 64-bit systems.
        const CREATESTRUCTA *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            appWindow->active = 0;
            return 0;
        }
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
            appWindow->active = 1;
            forwardResize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        }
        break;
    case WM_CLOSE:
        // Not passed on: the shell destroys the window once its loop has ended.
        requestQuit(*appWindow);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        return handleKeyMessage(*appWindow, window, message, wParam, lParam);
    case WM_SYSCOMMAND:
        // Keep the screen saver and monitor power-down away while the kaleidoscope runs.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        break;
    case kModeSwitchMessage:
        shellState.fullScreen = shellState.fullScreen == 1 ? 0 : 1;
        PostMessageA(window, WM_QUIT, 0, 0);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
