// How the program ends when the display it runs on goes away or cannot serve it: at once, with
// one line on stderr and a status that is not the user's quit.
#include "platform/sdl/internal.h"

#include <cstdio>
#include <unistd.h>

namespace {

// Exit status of a run the display ended or could not serve: not the user's quit (0), as
// Xlib's own default says.
const int kDisplayLostStatus = 1;

}  // namespace

namespace win32sdl {

void endForDisplay(const std::string &line)
{
    fprintf(stderr, "%s\n", line.c_str());
    // No atexit handlers: they would talk to the display that is gone (SDL_Quit waits for events
    // that never come there, or aborts).
    _exit(kDisplayLostStatus);
}

std::string displayWentAway(const std::string &display, const char *server)
{
    return "The " + display + " went away (its " + server +
           " ended or cut the connection): the kaleidoscope ends.";
}

}  // namespace win32sdl
