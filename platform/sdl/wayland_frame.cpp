// SDL 2.26 (Debian 12) never releases the libdecor frame of a Wayland window: neither hiding nor
// destroying the window gives it back, so the frame's toplevel outlives the SDL window and the
// next configure the compositor sends it (as soon as another window takes the focus) runs SDL's
// frame callback on the freed window: F1 under native Wayland crashed there. SDL 2.28 releases
// the frame when the window is hidden; for the versions before it the layer releases it itself,
// between hiding and destroying the window.
#include "platform/sdl/internal.h"

#include <SDL2/SDL_syswm.h>

#include <dlfcn.h>

#include <cstring>

namespace {

// A function of a library SDL has already loaded, or null; the program links neither library.
void *loadedFunction(const char *library, const char *name)
{
    void *handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    void *function = dlsym(handle, name);
    dlclose(handle);  // SDL keeps its own reference
    return function;
}

// The toplevel of a hidden Wayland window whose frame SDL still holds, or null.
void *keptToplevel(SDL_Window *window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND)
        return nullptr;
    return info.info.wl.xdg_toplevel;
}

}  // namespace

namespace win32sdl {

void releaseDecorationFrame(SDL_Window *window)
{
    if (strcmp(SDL_GetCurrentVideoDriver(), "wayland") != 0 ||
        !sdlOlderThan(kReleasesDecorationFrame))
        return;
    // Hidden first, while the frame still exists: SDL's own hiding talks to it, and
    // SDL_DestroyWindow does not hide a window that is hidden already.
    SDL_HideWindow(window);
    void *toplevel = keptToplevel(window);
    using UserData = void *(*)(void *);
    using Unref = void (*)(void *);
    auto userData = reinterpret_cast<UserData>(
        loadedFunction("libwayland-client.so.0", "wl_proxy_get_user_data"));
    auto unref = reinterpret_cast<Unref>(loadedFunction("libdecor-0.so.0", "libdecor_frame_unref"));
    if (!toplevel || !userData || !unref)
        return;
    // libdecor listens on the toplevel with the frame as its user data; the frame has one
    // reference, SDL's, which SDL never gives back.
    unref(userData(toplevel));
}

}  // namespace win32sdl
