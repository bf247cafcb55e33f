// The message loop of one pass: messages to the window procedure, frames when the queue is empty.
#include "shell/app.h"

#include "render/kaleidoscope.h"

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
