// A full-screen window on X11 names its state before it is first mapped, as EWMH lets a client
// do. SDL (2.26 and after) maps a window it made hidden without the full-screen state and asks
// for it only afterwards; Weston's Xwayland window manager (seen with Weston 10 and Xwayland 22.1,
// Debian 12) then takes the borderless, screen-sized window for full-screen by its looks, ignores
// SDL's request as no change, and drops the state again when it next reads the window's empty
// state property: the window ends up an ordinary one offset by the shell, in some entries out of
// four. Named at mapping, the state is read, kept and written back by the window manager; it is
// named for every version, as EWMH asks of a client that knows its state before mapping.
#include "platform/sdl/internal.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

namespace win32sdl {

void announceFullScreen(SDL_Window *window)
{
    const Uint32 flags = SDL_GetWindowFlags(window);
    if (!(flags & SDL_WINDOW_FULLSCREEN) || strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0)
        return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    Display *display = info.info.x11.display;
    Atom states[2];
    int count = 0;
    states[count++] = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    if (flags & SDL_WINDOW_ALWAYS_ON_TOP)
        states[count++] = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    XChangeProperty(display, info.info.x11.window, XInternAtom(display, "_NET_WM_STATE", False),
                    XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char *>(states),
                    count);
    XFlush(display);
}

}  // namespace win32sdl
