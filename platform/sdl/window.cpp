// Window classes, windows, message boxes and the cursor of the Win32 layer, over SDL2.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Frame of a WS_OVERLAPPEDWINDOW window as AdjustWindowRectEx reports it; CreateWindowExA takes
// the same frame off again, so the client area is exactly the one asked for.
const int kFrameSide = 8;
const int kFrameTop = 31;
// WM_SYSCOMMAND's low four bits are Windows' own; the command is in the rest.
const WPARAM kSystemCommandMask = 0xFFF0;

struct WindowClass {
    std::string name;
    WNDPROC procedure;
};

std::vector<WindowClass> classes;
std::vector<HWND> windows;
HWND__ desktop;       // stands for the desktop window; never a live window
int cursorCount = 0;  // ShowCursor's display counter: the pointer shows while it is >= 0

// The registered class of that name, or null.
WindowClass *findClass(LPCSTR name)
{
    for (WindowClass &c : classes)
        if (c.name == name)
            return &c;
    return nullptr;
}

// Hex form of a style word for the call log.
std::string hex(DWORD value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%X", value);
    return text;
}

// SDL window flags for a Win32 style: popups are borderless, full-screen at desktop size.
Uint32 sdlFlagsFor(DWORD style, DWORD exStyle, int width, int height)
{
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (style & WS_POPUP) {
        SDL_Rect desk;
        flags |= SDL_WINDOW_BORDERLESS;
        // Desktop full-screen covers the screen without changing the display mode.
        if (SDL_GetDisplayBounds(0, &desk) == 0 && desk.w == width && desk.h == height)
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    if (style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    if (exStyle & WS_EX_TOPMOST)
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

// Unless a driver is asked for by name, only one that shows windows will do: SDL would otherwise
// fall back to a driver that draws nowhere, and the program would run unseen and unstoppable.
void requireVisibleVideoDriver()
{
    const char *asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && *asked)
        return;
    const std::string unseen[] = {"offscreen", "dummy", "evdev"};
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string name = SDL_GetVideoDriver(i);
        if (std::find(std::begin(unseen), std::end(unseen), name) == std::end(unseen))
            drivers += (drivers.empty() ? "" : ",") + name;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

// Says once what would help when no display can be reached: the shell's own message only says
// that the window could not be made, and is asked for twice (desktop size, then the window).
void reportNoDisplay()
{
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    fprintf(stderr,
            "No display to open a window on (%s): start it from a desktop session, where "
            "DISPLAY or WAYLAND_DISPLAY names a running display.\n",
            SDL_GetError());
}

}  // namespace

namespace win32sdl {

bool ensureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    requireVisibleVideoDriver();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        reportNoDisplay();
        return false;
    }
    atexit(SDL_Quit);
    endWhenDisplayGoes();
    // Fixed-function GL needs a compatibility context; the visual is picked at window creation.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    return true;
}

HWND windowFromId(Uint32 id)
{
    for (HWND w : windows)
        if (SDL_GetWindowID(w->sdl) == id)
            return w;
    return nullptr;
}

const std::vector<HWND> &liveWindows() { return windows; }

HWND liveWindow(HWND window)
{
    return std::find(windows.begin(), windows.end(), window) != windows.end() ? window : nullptr;
}

void clientSize(HWND window, int *width, int *height)
{
    SDL_GL_GetDrawableSize(window->sdl, width, height);
}

}  // namespace win32sdl

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    const win32sdl::InterruptEndsProgram whileOpen;
    seam::enter("MessageBoxA", std::string(caption) + ": " + text);
    if (seam::messageBoxAnswer() >= 0)
        return seam::messageBoxAnswer();
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
    };
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"},
    };
    const bool question = (type & 0xF) == MB_YESNO;
    const SDL_MessageBoxData box = {
        (type & 0xF0) == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION,
        nullptr,
        caption,
        text,
        question ? 2 : 1,
        question ? yesNo : ok,
        nullptr};
    int button = 0;
    if (SDL_ShowMessageBox(&box, &button) != 0) {
        // No box could be shown (no display): keep the text where a user can still read it.
        fprintf(stderr, "%s: %s\n", caption, text);
        return 0;
    }
    return button;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR)
{
    // SDL shows its own arrow; the handle only has to be non-null.
    static char arrow;
    seam::enter("LoadCursorA");
    return reinterpret_cast<HCURSOR>(&arrow);
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *windowClass)
{
    if (seam::enter("RegisterClassExA") || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
        findClass(windowClass->lpszClassName))
        return 0;
    classes.push_back({windowClass->lpszClassName, windowClass->lpfnWndProc});
    return static_cast<ATOM>(0xC000 + classes.size());
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE)
{
    seam::enter("UnregisterClassA");
    const auto before = classes.size();
    classes.erase(std::remove_if(classes.begin(), classes.end(),
                                 [&](const WindowClass &c) { return c.name == className; }),
                  classes.end());
    return classes.size() != before;
}

BOOL WINAPI AdjustWindowRectEx(RECT *rect, DWORD style, BOOL, DWORD)
{
    seam::enter("AdjustWindowRectEx");
    if (style & WS_CAPTION) {
        rect->left -= kFrameSide;
        rect->top -= kFrameTop;
        rect->right += kFrameSide;
        rect->bottom += kFrameSide;
    }
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND, HMENU, HINSTANCE instance,
                            LPVOID param)
{
    const std::string detail = hex(exStyle) + " " + hex(style) + " " + std::to_string(width) +
                               "x" + std::to_string(height);
    WindowClass *windowClass = findClass(className);
    if (seam::enter("CreateWindowExA", detail) || !windowClass || !win32sdl::ensureVideo())
        return nullptr;
    if (style & WS_CAPTION) {  // SDL sizes and places the client area, inside our emulated frame
        x += kFrameSide;
        y += kFrameTop;
        width -= 2 * kFrameSide;
        height -= kFrameTop + kFrameSide;
    }
    SDL_Window *sdl = SDL_CreateWindow(title, x, y, width, height,
                                       sdlFlagsFor(style, exStyle, width, height));
    if (!sdl)
        return nullptr;
    HWND window = new HWND__{sdl, windowClass->procedure, 0, style, HDC__{}};
    window->dc.window = window;
    windows.push_back(window);
    seam::setLastWindow(window);
    CREATESTRUCTA create = {param, instance, nullptr, nullptr, height, width, y, x,
                            static_cast<LONG>(style), title, className, exStyle};
    window->procedure(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create));
    return window;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    seam::enter("DestroyWindow");
    if (!win32sdl::liveWindow(window))
        return FALSE;
    window->procedure(window, WM_DESTROY, 0, 0);
    win32sdl::dropMessagesFor(window);
    windows.erase(std::find(windows.begin(), windows.end(), window));
    if (seam::lastWindow() == window)
        seam::setLastWindow(nullptr);
    SDL_DestroyWindow(window->sdl);
    delete window;
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int)
{
    seam::enter("ShowWindow");
    if (!win32sdl::liveWindow(window))
        return FALSE;
    const bool wasVisible = SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN;
    SDL_ShowWindow(window->sdl);
    if (!wasVisible) {  // as on Win32, a window made hidden learns its size when first shown
        int width, height;
        win32sdl::clientSize(window, &width, &height);
        window->procedure(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
    return wasVisible;
}

HWND WINAPI GetDesktopWindow(void)
{
    seam::enter("GetDesktopWindow");
    return &desktop;
}

BOOL WINAPI GetWindowRect(HWND window, RECT *rect)
{
    seam::enter("GetWindowRect");
    SDL_Rect bounds;
    // Only the desktop's rectangle is asked for: the bounds of the first display.
    if (window != &desktop || !win32sdl::ensureVideo() || SDL_GetDisplayBounds(0, &bounds) != 0)
        return FALSE;
    *rect = {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND window, RECT *rect)
{
    if (!win32sdl::liveWindow(window))
        return FALSE;
    int width, height;
    win32sdl::clientSize(window, &width, &height);
    *rect = {0, 0, width, height};
    return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index)
{
    return win32sdl::liveWindow(window) && index == GWLP_USERDATA ? window->userData : 0;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value)
{
    if (!win32sdl::liveWindow(window) || index != GWLP_USERDATA)
        return 0;
    const LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}

int WINAPI ShowCursor(BOOL show)
{
    seam::enter("ShowCursor", show ? "TRUE" : "FALSE");
    cursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCount;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA *, DWORD)
{
    // The display mode is never changed, so there is nothing to restore.
    seam::enter("ChangeDisplaySettingsA");
    return 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // SDL does the rest of the window system's default handling itself; only Win32's way of
    // closing from the keyboard is left: Alt+F4 asks for SC_CLOSE, and SC_CLOSE for WM_CLOSE.
    seam::enter("DefWindowProcA", std::to_string(message));
    if (!win32sdl::liveWindow(window))
        return 0;
    if (message == WM_SYSKEYDOWN && wParam == VK_F4 && (lParam & win32sdl::kAltHeld))
        return window->procedure(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (message == WM_SYSCOMMAND && (wParam & kSystemCommandMask) == SC_CLOSE)
        return window->procedure(window, WM_CLOSE, 0, 0);
    return 0;
}
