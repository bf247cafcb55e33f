// The X server going away under the running program. Xlib's default answer is exit(1), which
// runs SDL_Quit from atexit on the dead connection: SDL then waits for events that never come
// (a full-screen window spins for ever) or aborts. There is nothing left to tidy on a display
// that is gone, so the program says so and ends at once.
#include "platform/sdl/internal.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Exit status of a run the display ended: not the user's quit (0), as Xlib's own default says.
const int kDisplayLostStatus = 1;

// Xlib's fatal I/O error handler: one line on stderr, then the end, skipping atexit handlers.
int endWithDisplay(Display *display)
{
    fprintf(stderr, "The display %s went away (its X server ended or cut the connection): "
                    "the kaleidoscope ends.\n",
            DisplayString(display));
    _exit(kDisplayLostStatus);
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
