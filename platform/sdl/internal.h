// Records behind the Win32 handles of the SDL-backed layer, shared by its files only.
#pragma once

#include "platform/win32.h"

#include <SDL2/SDL.h>

#include <signal.h>

#include <vector>

struct HDC__ {
    HWND window;
    PIXELFORMATDESCRIPTOR format;  // as given to SetPixelFormat
    bool formatSet;
};

struct HWND__ {
    SDL_Window *sdl;
    WNDPROC procedure;
    LONG_PTR userData;
    DWORD style;
    HDC__ dc;  // CS_OWNDC: one device context for the window's whole life
};

struct HGLRC__ {
    SDL_GLContext context;
};

namespace win32sdl {

// Key-message lParam bit: Alt was held.
const LPARAM kAltHeld = LPARAM(1) << 29;

// Starts SDL's video subsystem once, with the GL attributes every window is created with.
bool ensureVideo();
// Ends the program with one line on stderr when its X display goes away while it runs.
void endWhenDisplayGoes();
// The live window with this SDL window id, or null.
HWND windowFromId(Uint32 id);
// Every live window.
const std::vector<HWND> &liveWindows();
// The live window with this handle, or null when it has been destroyed.
HWND liveWindow(HWND window);
// Turns an SDL key event into a virtual-key code; 0 for keys the program has no code for.
WPARAM virtualKeyFor(const SDL_KeyboardEvent &key);
// Drops the queued messages of a window that is being destroyed.
void dropMessagesFor(HWND window);
// The window's client size in pixels, as GL draws it.
void clientSize(HWND window, int *width, int *height);

// While it lives (a message box is open), SIGINT and SIGTERM end the process at once with
// status 0, as Windows' default console handler ends a process on Ctrl+C.
class InterruptEndsProgram {
public:
    // Puts the handlers in place, keeping the ones they replace.
    InterruptEndsProgram();
    // Gives the replaced handlers back.
    ~InterruptEndsProgram();
    InterruptEndsProgram(const InterruptEndsProgram &) = delete;
    InterruptEndsProgram &operator=(const InterruptEndsProgram &) = delete;

private:
    struct sigaction previousInterrupt;
    struct sigaction previousTerminate;
};

}  // namespace win32sdl
