// Process entry: the full-screen question, the window class, and one pass per window.
#include "shell/app.h"

#include "render/kaleidoscope.h"
#include "shell/shell_state.h"

namespace {

const char *const kClassName = "OpenGL";
const char *const kTitle = "Brindlewick";
const int32_t kColourBits = 32;
const int kExitSuccess = 0;
const int kExitNoWindow = 1;  // a pass's window could not be made
const int kExitNoWindowClass = -1;

// Settings for windows of the desktop's size.
WindowSettings desktopSettings(Application &application)
{
    RECT desktop = {0, 0, 0, 0};
    GetWindowRect(GetDesktopWindow(), &desktop);
    return WindowSettings{&application,
                          kTitle,
                          desktop.right - desktop.left,
                          desktop.bottom - desktop.top,
                          kColourBits,
                          1};
}

// A renderer sized to the window's real client area: sizing messages come before it exists.
Kaleidoscope *createRenderer(AppWindow &appWindow)
{
    Kaleidoscope *renderer =
        new Kaleidoscope(appWindow.settings.width, appWindow.settings.height);
    RECT client;
    if (GetClientRect(appWindow.window, &client))
        renderer->resize(client.right - client.left, client.bottom - client.top);
    return renderer;
}

}  // namespace

int runApplication(HINSTANCE instance)
{
    Application application = {instance, kClassName};
    AppWindow appWindow = {};
    shellState.rendererSlot = &appWindow.renderer;

    appWindow.settings = desktopSettings(application);
    if (MessageBoxA(nullptr, "Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                    MB_YESNO | MB_ICONQUESTION) == IDNO)
        appWindow.settings.fullScreen = 0;

    if (!registerGLClass(application)) {
        MessageBoxA(nullptr, "Error Registering Window Class!", "Error", MB_ICONWARNING);
        return kExitNoWindowClass;
    }
    shellState.keepRunning = 1;
    shellState.fullScreen = appWindow.settings.fullScreen;
    int status = kExitSuccess;
    while (shellState.keepRunning) {
        appWindow.settings.fullScreen = shellState.fullScreen;
        if (!createRenderWindow(appWindow)) {
            MessageBoxA(nullptr, "Error Creating OpenGL Window", "Error", MB_ICONWARNING);
            shellState.keepRunning = 0;
            // Launchers and scripts must see that nothing ran.
            status = kExitNoWindow;
            break;
        }
        appWindow.renderer = createRenderer(appWindow);
        runMessageLoop(appWindow);
        delete appWindow.renderer;  // its GL objects end with the context destroyed next
        appWindow.renderer = nullptr;
        destroyRenderWindow(appWindow);
    }
    shellState.rendererSlot = nullptr;
    UnregisterClassA(kClassName, instance);
    return status;
}
