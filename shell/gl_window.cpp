// The window class and the GL window of one pass.
#include "shell/app.h"

namespace {

const int kWindowedWidthMargin = 8;
const int kWindowedHeightMargin = 64;
const BYTE kDepthBits = 16;

// Double-buffered RGBA with a 16-bit depth buffer; stereo is asked for too.
PIXELFORMATDESCRIPTOR pixelFormatRequest(const WindowSettings &settings)
{
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFD_DOUBLEBUFFER | PFD_STEREO | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = static_cast<BYTE>(settings.colourBits & 0xFF);
    request.cDepthBits = kDepthBits;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

// Gives back the device context and the window after a failed creation step.
bool abandonWindow(AppWindow &appWindow)
{
    ReleaseDC(appWindow.window, appWindow.deviceContext);
    appWindow.deviceContext = nullptr;
    DestroyWindow(appWindow.window);
    appWindow.window = nullptr;
    return false;
}

}  // namespace

bool registerGLClass(const Application &application)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);  // 80 on 64-bit systems, not the 32-bit 48
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = application.instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE);
    windowClass.lpszClassName = application.className;
    if (RegisterClassExA(&windowClass) == 0) {
        MessageBoxA(nullptr, "RegisterClassEx Failed!", "Error", MB_ICONWARNING);
        return false;
    }
    return true;
}

namespace {

// The steps of createRenderWindow, each failure releasing what the earlier steps obtained.
bool openRenderWindow(AppWindow &appWindow)
{
    const WindowSettings &settings = appWindow.settings;
    const PIXELFORMATDESCRIPTOR request = pixelFormatRequest(settings);
    RECT rect = {0, 0, settings.width, settings.height};
    DWORD style, exStyle;
    if (settings.fullScreen == 1) {
        ShowCursor(FALSE);
        style = WS_POPUP;
        exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    } else {
        // Every framed window asks for the same client size, whatever the user made the last.
        rect = {0, 0, settings.width - kWindowedWidthMargin,
                settings.height - kWindowedHeightMargin};
        style = WS_OVERLAPPEDWINDOW;
        exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, exStyle);
    }
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

    appWindow.window = CreateWindowExA(
        exStyle, settings.application->className, settings.title, style, 0, 0,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
        settings.application->instance, &appWindow);
    if (!appWindow.window)
        return false;
    appWindow.deviceContext = GetDC(appWindow.window);
    if (!appWindow.deviceContext) {
        DestroyWindow(appWindow.window);
        appWindow.window = nullptr;
        return false;
    }
    const int format = ChoosePixelFormat(appWindow.deviceContext, &request);
    if (format == 0 || !SetPixelFormat(appWindow.deviceContext, format, &request))
        return abandonWindow(appWindow);
    appWindow.glContext = wglCreateContext(appWindow.deviceContext);
    if (!appWindow.glContext)
        return abandonWindow(appWindow);
    if (!wglMakeCurrent(appWindow.deviceContext, appWindow.glContext)) {
        wglDeleteContext(appWindow.glContext);
        appWindow.glContext = nullptr;
        return abandonWindow(appWindow);
    }
    ShowWindow(appWindow.window, SW_SHOWNORMAL);
    appWindow.active = 1;
    return true;
}

}  // namespace

bool createRenderWindow(AppWindow &appWindow)
{
    if (openRenderWindow(appWindow))
        return true;
    // The pointer was hidden for a full-screen window that could not be made; the error box
    // that follows needs it.
    if (appWindow.settings.fullScreen == 1)
        ShowCursor(TRUE);
    return false;
}

void destroyRenderWindow(AppWindow &appWindow)
{
    if (appWindow.window) {
        if (appWindow.deviceContext) {
            wglMakeCurrent(appWindow.deviceContext, nullptr);
            if (appWindow.glContext) {
                wglDeleteContext(appWindow.glContext);
                appWindow.glContext = nullptr;
            }
            ReleaseDC(appWindow.window, appWindow.deviceContext);
            appWindow.deviceContext = nullptr;
        }
        DestroyWindow(appWindow.window);
        appWindow.window = nullptr;
    }
    // The window's own mode decides: after a switch the flag already names the next mode.
    if (appWindow.settings.fullScreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
}
