// The message loop of one pass and the shell operations the window procedure calls.
#include "shell/app.h"

#include "render/kaleidoscope.h"
#include "shell/shell_state.h"

void runMessageLoop(AppWindow &appWindow)
{
    MSG message;
    for (;;) {
        // Only this window's messages: a quit message must be posted to the window itself.
        if (PeekMessageA(&message, appWindow.window, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                writeSnapshotsLeftQueued(appWindow);
                return;
            }
            DispatchMessageA(&message);
        } else if (appWindow.active) {
            presentFrame(appWindow);
        } else {
            WaitMessage();
        }
    }
}

void presentFrame(AppWindow &appWindow)
{
    appWindow.renderer->renderFrame(kMirrorsRequested);
    // Before the swap: after it the back buffer's contents are undefined.
    appWindow.renderer->writeQueuedSnapshots();
    SwapBuffers(appWindow.deviceContext);
    Sleep(static_cast<DWORD>(appWindow.renderer->frameDelay));
}

void writeSnapshotsLeftQueued(AppWindow &appWindow)
{
    if (appWindow.renderer->queuedSnapshots == 0)
        return;
    appWindow.renderer->renderFrame(kMirrorsRequested);
    appWindow.renderer->writeQueuedSnapshots();
}

void forwardResize(int32_t width, int32_t height)
{
    if (shellState.rendererSlot && *shellState.rendererSlot)
        (*shellState.rendererSlot)->resize(width, height);
}

void requestQuit(AppWindow &appWindow)
{
    PostMessageA(appWindow.window, WM_QUIT, 0, 0);
    shellState.keepRunning = 0;
}

void requestModeSwitch(AppWindow &appWindow)
{
    PostMessageA(appWindow.window, kModeSwitchMessage, 0, 0);
}
