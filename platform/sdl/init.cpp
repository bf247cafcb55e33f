// Start-up of the Win32 layer over SDL2: the layer's state, SDL's video subsystem and the choice
// of its driver, and the desktop the shell sizes its windows by.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace win32sdl {
Layer layer;
}  // namespace win32sdl

namespace {

HWND__ desktop;  // stands for the desktop window; never a live window

// Unless a driver is asked for by name, only one that shows windows will do: SDL would otherwise
// fall back to a driver that draws nowhere, and the program would run unseen and unstoppable.
// Whether the layer chose the drivers: none was asked for.
bool requireVisibleVideoDriver()
{
    const char *asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && *asked)
        return false;
    const std::string unseen[] = {"offscreen", "dummy", "evdev"};
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string name = SDL_GetVideoDriver(i);
        if (std::find(std::begin(unseen), std::end(unseen), name) == std::end(unseen))
            drivers += (drivers.empty() ? "" : ",") + name;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    return true;
}

// Whether to run natively where SDL 2 would take the session's Xwayland: on a scaled output only
// a native window draws the output's own pixels (Xwayland's is drawn small and upscaled). Where
// the compositor frames windows itself (KDE Plasma, sway and the other wlroots ones) a native
// window also looks as every other window there; elsewhere (GNOME, Weston) its frame would be
// libdecor's, in a look of its own, or none when libdecor's plugin is not installed, so X11 is
// kept there. A session without WAYLAND_DISPLAY is an X11 one and stays as it is.
bool preferWayland()
{
    const char *display = getenv("WAYLAND_DISPLAY");
    return display && *display && win32sdl::waylandFramesWindows();
}

// SDL 2.26 (2.32 and SDL 3 are sound) emulates a pointer warp when a full-screen window with the
// pointer hidden is destroyed, with a relative pointer from zwp_relative_pointer_manager_v1; on a
// compositor without it (nested Mutter) SDL later destroys the pointer it never made, and F1
// crashed there. The program never moves the pointer, so the emulation is turned off; an
// SDL_VIDEO_WAYLAND_EMULATE_MOUSE_WARP in the environment still wins.
void avoidWarpEmulation()
{
    const SDL_version kSoundWarps = {2, 32, 0};
    if (win32sdl::sdlOlderThan(kSoundWarps))
        SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_EMULATE_MOUSE_WARP, "0");
}

// SDL 2.32.4 (seen there; 2.26.5 not affected on KWin 5.27) first makes a Wayland window a bare
// xdg-shell toplevel; when the compositor answers its xdg-decoration request with client-side
// frames (KWin 6 without a decoration plugin), SDL remakes the window with libdecor from inside
// SDL_ShowWindow and then blocks there for ever: the window never maps and never gets the
// keyboard. Starting with libdecor, which still asks for the compositor's own frames, makes each
// window once. SDLs that do not give libdecor's frames back keep their default, and so does SDL 3
// (3.2.10, through its compatibility layer), whose libdecor windows made full-screen get a 0x0
// geometry that KWin 6 answers with a protocol error. SDL_VIDEO_WAYLAND_PREFER_LIBDECOR in the
// environment still wins.
void avoidDecorationSwitch()
{
    const Uint8 kFirstCompatibilityPatch = 50;  // SDL 3's layer calls itself 2.x.50 and later
    SDL_version linked;
    SDL_GetVersion(&linked);
    if (!win32sdl::sdlOlderThan(win32sdl::kReleasesDecorationFrame) &&
        linked.patch < kFirstCompatibilityPatch)
        SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_PREFER_LIBDECOR, "1");
}

// Starts SDL's video subsystem with those drivers of the hint's list; whether one started.
bool startWith(const std::string &drivers)
{
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    return !drivers.empty() && SDL_Init(SDL_INIT_VIDEO) == 0;
}

// Starts the first driver of the hint's list that starts, as SDL_Init does, but lets the layer
// look at a Wayland session before SDL reaches it, and puts Wayland first where it is sharper.
bool startVideoDriver()
{
    const bool chosen = requireVisibleVideoDriver();
    avoidWarpEmulation();
    avoidDecorationSwitch();
    const char *hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const std::string drivers = hint ? hint : "";
    const size_t wayland = drivers.find("wayland");
    if (wayland == std::string::npos)
        return SDL_Init(SDL_INIT_VIDEO) == 0;
    const std::string before = drivers.substr(0, wayland ? wayland - 1 : 0);  // SDL's first tries
    const bool native = chosen && wayland > 0 && preferWayland();
    bool started = !native && startWith(before);
    if (!started) {
        win32sdl::checkWaylandSession();
        started = startWith(drivers.substr(wayland));
    }
    if (!started && native)
        started = startWith(before);
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    return started;
}

// Says once what would help when no display can be reached: the shell's own message only says
// that the window could not be made, and is asked for twice (desktop size, then the window).
void reportNoDisplay()
{
    if (win32sdl::layer.noDisplayReported)
        return;
    win32sdl::layer.noDisplayReported = true;
    fprintf(stderr,
            "No display to open a window on (%s): start it from a desktop session, where "
            "DISPLAY or WAYLAND_DISPLAY names a running display.\n",
            SDL_GetError());
}

}  // namespace

namespace win32sdl {

bool sdlOlderThan(const SDL_version &version)
{
    SDL_version linked;
    SDL_GetVersion(&linked);
    return SDL_VERSIONNUM(linked.major, linked.minor, linked.patch) <
           SDL_VERSIONNUM(version.major, version.minor, version.patch);
}

bool ensureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    if (!startVideoDriver()) {
        reportNoDisplay();
        return false;
    }
    static const bool quitAtExit = atexit(SDL_Quit) == 0;  // once, though tests start SDL again
    (void)quitAtExit;
    endWhenDisplayGoes();
    // Loaded once for the whole run: SDL (2.26 and after) otherwise unloads the GL library with
    // the last GL window and loads it again for the next, a new EGL display each time on Mesa
    // (seen with Mesa 22.3, Debian 12), which keeps about 8 KB of each and refuses the 1,022nd;
    // every F1 switch would pay for one. Kept for every version: one load is all a run needs.
    SDL_GL_LoadLibrary(nullptr);
    return true;
}

}  // namespace win32sdl

HWND WINAPI GetDesktopWindow(void)
{
    seam::enter("GetDesktopWindow");
    return &desktop;
}

BOOL WINAPI GetWindowRect(HWND window, RECT *rect)
{
    seam::enter("GetWindowRect");
    int width, height;
    if (window == &desktop && seam::desktopSize(&width, &height)) {
        *rect = {0, 0, width, height};
        return TRUE;
    }
    SDL_Rect bounds;
    // Only the desktop's rectangle is asked for: the bounds of the first display.
    if (window != &desktop || !win32sdl::ensureVideo() || SDL_GetDisplayBounds(0, &bounds) != 0)
        return FALSE;
    *rect = {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    return TRUE;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA *, DWORD)
{
    // The display mode is never changed, so there is nothing to restore.
    seam::enter("ChangeDisplaySettingsA");
    return 0;
}
