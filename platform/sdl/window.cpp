// Window classes, windows and the default window procedure of the Win32 layer, over SDL2.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Frame of a WS_OVERLAPPEDWINDOW window as AdjustWindowRectEx reports it; CreateWindowExA takes
// the same frame off again, so the client area is exactly the one asked for.
const int kFrameSide = 8;
const int kFrameTop = 31;
// WM_SYSCOMMAND's low four bits are Windows' own; the command is in the rest.
const WPARAM kSystemCommandMask = 0xFFF0;

// The layer's registered classes and live windows (see win32sdl::Layer).
using win32sdl::WindowClass;
std::vector<WindowClass> &classes = win32sdl::layer.classes;
std::vector<HWND> &windows = win32sdl::layer.windows;

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

}  // namespace

namespace win32sdl {

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
    const auto detail = [&] {
        return hex(exStyle) + " " + hex(style) + " " + std::to_string(width) + "x" +
               std::to_string(height);
    };
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
    seam::forgetWindow(window);
    win32sdl::releaseDecorationFrame(window->sdl);
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
    if (!wasVisible)
        win32sdl::announceFullScreen(window->sdl);
    SDL_ShowWindow(window->sdl);
    win32sdl::hookToolkitDisplayLoss();  // SDL's decorations are loaded by now
    if (!wasVisible) {  // as on Win32, a window made hidden learns its size when first shown
        int width, height;
        win32sdl::clientSize(window, &width, &height);
        window->procedure(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
    return wasVisible;
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

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only Win32's way of closing from the keyboard is emulated: Alt+F4 asks for SC_CLOSE, and
    // SC_CLOSE for WM_CLOSE. Every other default does nothing here, WM_CLOSE's too (Win32 would
    // destroy the window): the shell answers WM_CLOSE itself and never passes it on.
    seam::enter("DefWindowProcA", [&] { return std::to_string(message); });
    if (!win32sdl::liveWindow(window))
        return 0;
    if (message == WM_SYSKEYDOWN && wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN))
        return window->procedure(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (message == WM_SYSCOMMAND && (wParam & kSystemCommandMask) == SC_CLOSE)
        return window->procedure(window, WM_CLOSE, 0, 0);
    return 0;
}
