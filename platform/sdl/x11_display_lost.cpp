// The X server going away under the running program. Xlib's default answer is exit(1), which
// runs SDL_Quit from atexit on the dead connection: SDL then waits for events that never come
// (a full-screen window spins for ever) or aborts. There is nothing left to tidy on a display
// that is gone, so the program says so and ends at once.
#include "platform/sdl/internal.h"

#include <X11/Xlib.h>

#include <cstring>

namespace {

// Xlib's fatal I/O error handler: one line on stderr, then the end, skipping atexit handlers.
int endWithDisplay(Display *display)
{
    win32sdl::endForDisplay(
        win32sdl::displayWentAway(std::string("display ") + DisplayString(display), "X server"));
}

}  // namespace

namespace win32sdl {

void endWhenDisplayGoes()
{
    if (strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
        XSetIOErrorHandler(endWithDisplay);
    watchWaylandDisplay();
}

}  // namespace win32sdl
