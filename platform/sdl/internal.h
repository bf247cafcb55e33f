// Records behind the Win32 handles of the SDL-backed layer, shared by its files only.
#pragma once

#include "platform/win32.h"

#include <SDL2/SDL.h>

#include <signal.h>

#include <deque>
#include <string>
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

// A registered window class.
struct WindowClass {
    std::string name;
    WNDPROC procedure;
};

// The layer's process-wide state, in one record as GLFW keeps its library state: what the test
// seam puts back to its process-start value between test cases.
struct Layer {
    std::vector<WindowClass> classes;
    std::vector<HWND> windows;  // live windows, oldest first
    int cursorCount = 0;        // ShowCursor's display counter: the pointer shows while it is >= 0
    // Two queues, as Win32 keeps them: a key typed after F1 must not act before the posted switch.
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool noDisplayReported = false;
};
extern Layer layer;

// Starts SDL's video subsystem once, with the GL library loaded for the whole run.
bool ensureVideo();
// Ends the program at once with that line on stderr and the status of a lost display.
[[noreturn]] void endForDisplay(const std::string &line);
// The line saying that the display ("display :1", "Wayland display wayland-0") went away with
// its server ("X server", "compositor").
std::string displayWentAway(const std::string &display, const char *server);
// Ends the program with one line on stderr when its X display or Wayland compositor goes away
// while it runs.
void endWhenDisplayGoes();
// Ends the program with one line on stderr when the Wayland session SDL is about to use has no
// seat or no output; keeps a connection to its compositor to watch it by.
void checkWaylandSession();
// Whether the Wayland session can run the program and its compositor draws windows' frames
// itself; keeps a connection to the compositor, as checkWaylandSession does.
bool waylandFramesWindows();
// Watches the compositor from a thread of its own once SDL runs on Wayland, ending the program
// when it goes; otherwise gives the layer's connection back.
void watchWaylandDisplay();
// Makes a toolkit that SDL's decorations load report a lost compositor with the program's own
// line; once GLib is there to hook, and only on a watched Wayland session.
void hookToolkitDisplayLoss();
// Ends the program at once when the watched compositor has gone.
void endIfWaylandDisplayGone();
// The live window with this SDL window id, or null.
HWND windowFromId(Uint32 id);
// Every live window.
const std::vector<HWND> &liveWindows();
// The live window with this handle, or null when it has been destroyed.
HWND liveWindow(HWND window);
// Turns an SDL key event into a virtual-key code; 0 for keys the program has no code for.
WPARAM virtualKeyFor(const SDL_KeyboardEvent &event);
// The high word of a key message's lParam for the key at that position: Windows' scan code
// (set 1) and KF_EXTENDED; 0 for a key the layer has no virtual-key code for.
WORD keyFlagsFor(SDL_Scancode position);
// Drops the queued messages of a window that is being destroyed.
void dropMessagesFor(HWND window);
// The first SDL that gives back a Wayland window's libdecor frame itself when the window is hidden.
const SDL_version kReleasesDecorationFrame = {2, 28, 0};
// Gives back the decoration frame an older SDL keeps for a Wayland window it is about to
// destroy; hides the window first. Does nothing elsewhere.
void releaseDecorationFrame(SDL_Window *window);
// Whether the SDL this run uses is older than that version.
bool sdlOlderThan(const SDL_version &version);
// Names the full-screen state of an X11 window that is about to be mapped for the first time;
// does nothing for other windows and drivers.
void announceFullScreen(SDL_Window *window);
// The window's client size in pixels, as GL draws it.
void clientSize(HWND window, int *width, int *height);

// While it lives (a message box is open), SIGINT and SIGTERM end the process at once with
// status 0: a signal is a request to close, as the window's close button is, and closing exits
// 0. (Windows has no counterpart: a GUI program there gets no console signal.)
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
