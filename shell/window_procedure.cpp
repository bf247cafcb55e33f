// The window-message half of the window procedure; key messages go to the key commands.
#include "shell/app.h"

#include "shell/shell_state.h"

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
        return handleKeyMessage(appWindow, window, message, wParam, lParam);
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
