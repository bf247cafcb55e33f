// Every SDL seen (2.26.5 to 2.32.4, and SDL 3.2.10 under the compatibility layer) ignores a
// keyboard leave that names no surface, and so never stops repeating a key held when its window
// went. sway (wlroots) sends exactly that: it keeps the keyboard on a window's surface until the
// surface is destroyed, and its leave then names a surface the client has already let go of. One
// F1 held there made SDL repeat F1 into every new window, each repeat a fresh press to SDL, which
// had let go of its keys with the old window: the picture switched for ever and Escape no longer
// reached it. (A release that reaches the next window in time stops the repeat too, which hides
// the fault wherever the keyboard delay is long.) The layer stands between the compositor and
// SDL's keyboard handlers and, on such a leave, first hands SDL the release of every key still
// held, as the compositor does for a leave that names its surface: SDL stops the repeat, and a
// key whose press began in a window that is gone repeats no more.
#include <wayland-client.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// One wl_keyboard SDL listens to: SDL's handlers, their data, and the keys held, each with the
// compositor's time of its press.
struct Keyboard {
    const wl_keyboard_listener *sdl;
    void *data;
    std::vector<std::pair<uint32_t, uint32_t>> held;
};

// Hands SDL the keymap.
void keymap(void *keyboard, wl_keyboard *proxy, uint32_t format, int32_t fd, uint32_t size)
{
    const Keyboard *k = static_cast<Keyboard *>(keyboard);
    k->sdl->keymap(k->data, proxy, format, fd, size);
}

// Hands SDL the keyboard's arrival on a surface.
void enter(void *keyboard, wl_keyboard *proxy, uint32_t serial, wl_surface *surface, wl_array *keys)
{
    const Keyboard *k = static_cast<Keyboard *>(keyboard);
    k->sdl->enter(k->data, proxy, serial, surface, keys);
}

// Hands SDL the keyboard's leaving; without a surface, the releases of the held keys first.
void leave(void *keyboard, wl_keyboard *proxy, uint32_t serial, wl_surface *surface)
{
    Keyboard *k = static_cast<Keyboard *>(keyboard);
    // At its press's own time: no repeat falls due before the release.
    for (const auto &[key, time] : k->held)
        if (!surface)
            k->sdl->key(k->data, proxy, serial, time, key, WL_KEYBOARD_KEY_STATE_RELEASED);
    k->held.clear();
    k->sdl->leave(k->data, proxy, serial, surface);
}

// Hands SDL a key, noting which keys are held.
void key(void *keyboard, wl_keyboard *proxy, uint32_t serial, uint32_t time, uint32_t code,
         uint32_t state)
{
    Keyboard *k = static_cast<Keyboard *>(keyboard);
    auto &held = k->held;
    held.erase(std::remove_if(held.begin(), held.end(),
                              [&](const auto &h) { return h.first == code; }),
               held.end());
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED)
        held.emplace_back(code, time);
    k->sdl->key(k->data, proxy, serial, time, code, state);
}

// Hands SDL the modifiers.
void modifiers(void *keyboard, wl_keyboard *proxy, uint32_t serial, uint32_t depressed,
               uint32_t latched, uint32_t locked, uint32_t group)
{
    const Keyboard *k = static_cast<Keyboard *>(keyboard);
    k->sdl->modifiers(k->data, proxy, serial, depressed, latched, locked, group);
}

// Hands SDL the repeat rate and delay.
void repeatInfo(void *keyboard, wl_keyboard *proxy, int32_t rate, int32_t delay)
{
    const Keyboard *k = static_cast<Keyboard *>(keyboard);
    k->sdl->repeat_info(k->data, proxy, rate, delay);
}

const wl_keyboard_listener layerListener = {keymap, enter, leave, key, modifiers, repeatInfo};

using AddListener = int (*)(wl_proxy *, void (**)(void), void *);

}  // namespace

// libwayland's own, found past the program; SDL's calls reach this one first. A keyboard's
// listener is put between.
extern "C" int wl_proxy_add_listener(wl_proxy *proxy, void (**implementation)(void), void *data)
{
    static const auto added = reinterpret_cast<AddListener>(dlsym(RTLD_NEXT, __func__));
    if (strcmp(wl_proxy_get_class(proxy), wl_keyboard_interface.name) != 0)
        return added(proxy, implementation, data);
    // One per keyboard SDL makes, kept for the run as SDL keeps the keyboard.
    auto *keyboard = new Keyboard{reinterpret_cast<const wl_keyboard_listener *>(implementation),
                                  data, {}};
    return added(proxy,
                 reinterpret_cast<void (**)(void)>(const_cast<wl_keyboard_listener *>(&layerListener)),
                 keyboard);
}
