// SDL 2.26 (Debian 12; 2.32 and SDL 3 are sound) ignores a keyboard leave that names no surface,
// and so never stops repeating a key held when its window went. sway (wlroots) sends exactly
// that: the leave for a destroyed window comes after its surface is gone. One F1 held there made
// SDL repeat F1 into every new window, each repeat a fresh press to SDL, which had let go of its
// keys with the old window: the picture switched for ever and Escape no longer reached it. The
// layer hides the window first and waits for the compositor's answer, so the leave names a
// surface that still exists and SDL stops the repeat, as Weston, Mutter and KWin always let it.
#include "platform/sdl/internal.h"

#include <SDL2/SDL_syswm.h>

#include <wayland-client.h>

#include <cstring>

namespace {

// The first SDL seen to stop the repeat on a leave without a surface.
const SDL_version kStopsRepeatAlone = {2, 32, 0};

}  // namespace

namespace win32sdl {

void letKeyboardLeave(SDL_Window *window)
{
    if (strcmp(SDL_GetCurrentVideoDriver(), "wayland") != 0 || !sdlOlderThan(kStopsRepeatAlone))
        return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND)
        return;
    SDL_HideWindow(window);
    // The compositor's events up to now, the leave among them, reach SDL's handlers in this call.
    wl_display_roundtrip(info.info.wl.display);
}

}  // namespace win32sdl
