// The Wayland session the program runs in: whether it can be used at all, and its compositor
// going away. The layer keeps a connection of its own to the compositor for both: SDL does not
// say what a session lacks (SDL 2.26 crashes while starting on a compositor with no seat), and
// when the compositor ends SDL reports a quit, as if the user had closed the window, or spins
// waiting for a window to be shown (SDL 2.32, SDL 3), while a box may be open.
#include "platform/sdl/internal.h"

#include <wayland-client.h>

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <thread>

namespace {

// The layer's own connection to the compositor; null when there is none.
wl_display *watched = nullptr;
// Set by whichever thread reports first, so the report is made once.
std::atomic<bool> reported{false};

// What a session offers that the program needs, a seat (keyboard) and an output (screen), and
// whether the compositor draws windows' frames itself (xdg-decoration).
struct Offers {
    bool seat = false;
    bool output = false;
    bool frames = false;
};
// What the compositor of the layer's connection offers.
Offers offers;

// Notes the globals the compositor announces.
void announceGlobal(void *data, wl_registry *, uint32_t, const char *interface, uint32_t)
{
    Offers *offers = static_cast<Offers *>(data);
    offers->seat |= strcmp(interface, wl_seat_interface.name) == 0;
    offers->output |= strcmp(interface, wl_output_interface.name) == 0;
    offers->frames |= strcmp(interface, "zxdg_decoration_manager_v1") == 0;
}

// Globals that go away need no answer here.
void removeGlobal(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener = {announceGlobal, removeGlobal};

// The Wayland display's name as the user knows it.
const char *displayName()
{
    const char *name = getenv("WAYLAND_DISPLAY");
    return name && *name ? name : "wayland-0";
}

// Ends the program with one line on stderr, unless the other thread has already begun to.
void endWith(const std::string &line)
{
    if (!reported.exchange(true))
        win32sdl::endForDisplay(line);
}

// Ends the program saying that the compositor went away.
void endWithDisplayGone()
{
    endWith(win32sdl::displayWentAway(std::string("Wayland display ") + displayName(),
                                      "compositor"));
}

// GLib's log levels and handler type, for the toolkit hook below; the program links no GLib.
const int kGlibMessageLevel = 1 << 5;  // G_LOG_LEVEL_MESSAGE
using GlibLogHandler = void (*)(const char *domain, int level, const char *message, void *data);
using GlibSetHandler = unsigned (*)(const char *domain, int levels, GlibLogHandler, void *data);
// GLib's own handler, for the toolkit's other messages.
GlibLogHandler glibDefaultHandler = nullptr;

// GDK's messages (GTK 3.24) before it ends the process on a lost compositor connection ("Error
// reading events from display", "Lost connection to Wayland compositor", "Error flushing
// display").
bool saysConnectionLost(const char *message)
{
    return strstr(message, "display") || strstr(message, "compositor");
}

// Takes GDK's messages: a lost connection ends the program with the program's line instead of
// GDK's (GDK would end it next with _exit, leaving no room for ours); the rest go on to GLib.
void toolkitMessage(const char *domain, int level, const char *message, void *data)
{
    if (saysConnectionLost(message))
        endWithDisplayGone();
    glibDefaultHandler(domain, level, message, data);
}

// Reads the compositor's events on the layer's connection until it fails, then ends the
// program: a blocked read, so the watch costs nothing while the compositor lives.
void watch()
{
    while (wl_display_dispatch(watched) != -1) {
    }
    endWithDisplayGone();
}

// Connects the layer to the compositor and reads what it offers, once; false when there is none.
bool readOffers()
{
    if (watched)
        return true;
    watched = wl_display_connect(nullptr);
    if (!watched)
        return false;
    wl_registry *registry = wl_display_get_registry(watched);
    wl_registry_add_listener(registry, &registryListener, &offers);
    const bool answered = wl_display_roundtrip(watched) != -1;
    wl_registry_destroy(registry);
    if (!answered)
        endWithDisplayGone();
    return true;
}

}  // namespace

namespace win32sdl {

void checkWaylandSession()
{
    if (!readOffers())
        return;  // no compositor: SDL finds none either and says so
    const std::string display = std::string("The Wayland display ") + displayName();
    if (!offers.seat)
        endWith(display + " has no seat: no keyboard reaches windows there, so the kaleidoscope "
                          "cannot be steered or ended; run it in a desktop session.");
    if (!offers.output)
        endWith(display + " has no output: there is no screen to show the kaleidoscope on; run "
                          "it in a desktop session.");
}

bool waylandFramesWindows()
{
    return readOffers() && offers.seat && offers.output && offers.frames;
}

void watchWaylandDisplay()
{
    if (!watched)
        return;
    if (strcmp(SDL_GetCurrentVideoDriver(), "wayland") != 0) {
        wl_display_disconnect(watched);  // SDL chose another driver
        watched = nullptr;
        return;
    }
    std::thread(watch).detach();
    hookToolkitDisplayLoss();
    // A toolkit in SDL's decorations (libdecor's GTK plugin) may notice first and call exit(1)
    // with a line of its own; ours still says what happened.
    atexit(endIfWaylandDisplayGone);
}

void hookToolkitDisplayLoss()
{
    static bool hooked = false;
    if (hooked || !watched)
        return;
    // libdecor's GTK plugin (libdecor 0.2 and after, Debian 13; 0.1 has only its cairo plugin)
    // brings GDK (GTK 3.24), and GLib with it, into the process; it has its own connection to
    // the compositor, which may be the first to find it gone.
    void *glib = dlopen("libglib-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!glib)
        return;
    auto setHandler = reinterpret_cast<GlibSetHandler>(dlsym(glib, "g_log_set_handler"));
    glibDefaultHandler = reinterpret_cast<GlibLogHandler>(dlsym(glib, "g_log_default_handler"));
    if (setHandler && glibDefaultHandler) {
        setHandler("Gdk", kGlibMessageLevel, toolkitMessage, nullptr);
        hooked = true;
    }
    dlclose(glib);  // GDK keeps it loaded
}

void endIfWaylandDisplayGone()
{
    pollfd connection = {watched ? wl_display_get_fd(watched) : -1, 0, 0};
    if (watched && poll(&connection, 1, 0) > 0 && (connection.revents & (POLLHUP | POLLERR)))
        endWithDisplayGone();
}

}  // namespace win32sdl
