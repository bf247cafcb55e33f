// The message queue of the Win32 layer: posted messages first, then SDL events made into
// window messages for the window they belong to, in the order Win32's PeekMessage keeps.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <algorithm>
#include <deque>

namespace {

// The layer's two queues, posted messages and input (see win32sdl::Layer).
std::deque<MSG> &posted = win32sdl::layer.posted;
std::deque<MSG> &input = win32sdl::layer.input;

// Queues a message for a window.
void enqueue(std::deque<MSG> &queue, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    queue.push_back(MSG{window, message, wParam, lParam, SDL_GetTicks(), {0, 0}});
}

// Queues a WM_SIZE with the window's client size in drawable pixels, so HiDPI sizes are right.
void enqueueSize(HWND window, WPARAM kind)
{
    int width = 0, height = 0;
    if (kind != SIZE_MINIMIZED)
        win32sdl::clientSize(window, &width, &height);
    enqueue(input, window, WM_SIZE, kind, MAKELPARAM(width, height));
}

// Queues the message a window event stands for, if any.
void translateWindowEvent(HWND window, const SDL_WindowEvent &event)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
        enqueueSize(window, SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MAXIMIZED
                                ? SIZE_MAXIMIZED
                                : SIZE_RESTORED);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        enqueueSize(window, SIZE_MAXIMIZED);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        enqueueSize(window, SIZE_MINIMIZED);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        enqueue(input, window, WM_CLOSE, 0, 0);
        break;
    }
}

// Whether Alt is held for this key; Ctrl+Alt is AltGr, which types characters instead.
bool altHeld(const SDL_KeyboardEvent &key)
{
    const SDL_Scancode scan = key.keysym.scancode;
    const bool alt = (key.keysym.mod & KMOD_ALT) || scan == SDL_SCANCODE_LALT ||
                     scan == SDL_SCANCODE_RALT;
    return alt && !(key.keysym.mod & KMOD_CTRL);
}

// Queues a key message as Win32 builds it: a system key when held with Alt or for F10; a repeat
// count of 1, and in the high word Windows' scan code with KF_EXTENDED, KF_ALTDOWN with Alt,
// KF_REPEAT on auto-repeat and on key-up, KF_UP on key-up.
void translateKeyEvent(HWND window, const SDL_KeyboardEvent &key)
{
    const WPARAM code = win32sdl::virtualKeyFor(key);
    if (code == 0)
        return;
    const bool down = key.type == SDL_KEYDOWN;
    WORD flags = win32sdl::keyFlagsFor(key.keysym.scancode);
    if (altHeld(key))
        flags |= KF_ALTDOWN;
    if (!down)
        flags |= KF_REPEAT | KF_UP;
    else if (key.repeat)
        flags |= KF_REPEAT;
    const bool system = altHeld(key) || code == VK_F10;
    const UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP)
                                : (down ? WM_KEYDOWN : WM_KEYUP);
    enqueue(input, window, message, code, MAKELPARAM(1, flags));
}

// Moves every pending SDL event into the queue as window messages.
void pumpEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    // Before SDL reads its connection: a toolkit in its decorations would end the program
    // there on a lost compositor, with a line of its own.
    win32sdl::endIfWaylandDisplayGone();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_WINDOWEVENT) {
            if (HWND window = win32sdl::windowFromId(event.window.windowID))
                translateWindowEvent(window, event.window);
        } else if (event.type == SDL_QUIT) {
            // SDL also reports a compositor that went away as a quit.
            win32sdl::endIfWaylandDisplayGone();
            // SIGINT or SIGTERM: ask every window to close, as a user closing it would.
            for (HWND window : win32sdl::liveWindows())
                enqueue(input, window, WM_CLOSE, 0, 0);
        } else if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
            if (HWND window = win32sdl::windowFromId(event.key.windowID))
                translateKeyEvent(window, event.key);
        }
    }
}

// The first message in that queue for that window (any window when null).
std::deque<MSG>::iterator findMessage(std::deque<MSG> &queue, HWND window)
{
    return std::find_if(queue.begin(), queue.end(),
                        [&](const MSG &m) { return !window || m.hwnd == window; });
}

// Copies the message found in that queue out, removing it if asked; false when none was found.
bool takeMessage(std::deque<MSG> &queue, std::deque<MSG>::iterator found, MSG *msg, UINT remove)
{
    if (found == queue.end())
        return false;
    *msg = *found;
    if (remove & PM_REMOVE)
        queue.erase(found);
    return true;
}

// Drops that window's messages from one queue.
void dropFrom(std::deque<MSG> &queue, HWND window)
{
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [&](const MSG &m) { return m.hwnd == window; }),
                queue.end());
}

}  // namespace

namespace win32sdl {

void dropMessagesFor(HWND window)
{
    // A stray WM_QUIT left for a destroyed window must not end the next window's loop.
    dropFrom(posted, window);
    dropFrom(input, window);
}

}  // namespace win32sdl

BOOL WINAPI PeekMessageA(MSG *msg, HWND window, UINT, UINT, UINT remove)
{
    if (takeMessage(posted, findMessage(posted, window), msg, remove))
        return TRUE;
    if (findMessage(input, window) == input.end())
        pumpEvents();
    return takeMessage(input, findMessage(input, window), msg, remove);
}

LRESULT WINAPI DispatchMessageA(const MSG *msg)
{
    if (!win32sdl::liveWindow(msg->hwnd))
        return 0;
    return msg->hwnd->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI WaitMessage(void)
{
    seam::enter("WaitMessage");
    // Posted messages wake at once; otherwise sleep until SDL has an event.
    if (posted.empty() && input.empty() && SDL_WasInit(SDL_INIT_VIDEO))
        SDL_WaitEvent(nullptr);
    return TRUE;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seam::enter("PostMessageA", [&] { return std::to_string(message); });
    if (!win32sdl::liveWindow(window))
        return FALSE;
    enqueue(posted, window, message, wParam, lParam);
    return TRUE;
}
