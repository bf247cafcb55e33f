// The message queue of the Win32 layer: posted messages first, then SDL events made into
// window messages for the window they belong to.
#include "platform/sdl/test_seam.h"
#include "platform/sdl/internal.h"

#include <algorithm>
#include <deque>

namespace {

std::deque<MSG> queue;

// Queues a message for a window.
void enqueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    queue.push_back(MSG{window, message, wParam, lParam, SDL_GetTicks(), {0, 0}});
}

// Queues a WM_SIZE with the window's client size in drawable pixels, so HiDPI sizes are right.
void enqueueSize(HWND window, WPARAM kind)
{
    int width = 0, height = 0;
    if (kind != SIZE_MINIMIZED)
        win32sdl::clientSize(window, &width, &height);
    enqueue(window, WM_SIZE, kind, MAKELPARAM(width, height));
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
        enqueue(window, WM_CLOSE, 0, 0);
        break;
    }
}

// Queues a key message as Win32 builds it: bit 30 set on auto-repeat and on key-up, bit 31 on key-up.
void translateKeyEvent(HWND window, const SDL_KeyboardEvent &key)
{
    const WPARAM code = win32sdl::virtualKeyFor(key);
    if (code == 0)
        return;
    LPARAM lParam = 1 | (static_cast<LPARAM>(key.keysym.scancode & 0xFF) << 16);
    if (key.type == SDL_KEYUP)
        lParam |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
    else if (key.repeat)
        lParam |= LPARAM(1) << 30;
    enqueue(window, key.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, code, lParam);
}

// Moves every pending SDL event into the queue as window messages.
void pumpEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_WINDOWEVENT) {
            if (HWND window = win32sdl::windowFromId(event.window.windowID))
                translateWindowEvent(window, event.window);
        } else if (event.type == SDL_QUIT) {
            // SIGINT or SIGTERM: ask every window to close, as a user closing it would.
            for (HWND window : win32sdl::liveWindows())
                enqueue(window, WM_CLOSE, 0, 0);
        } else if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
            if (HWND window = win32sdl::windowFromId(event.key.windowID))
                translateKeyEvent(window, event.key);
        }
    }
}

// The first queued message for that window (any window when null).
std::deque<MSG>::iterator findMessage(HWND window)
{
    return std::find_if(queue.begin(), queue.end(),
                        [&](const MSG &m) { return !window || m.hwnd == window; });
}

}  // namespace

namespace win32sdl {

void dropMessagesFor(HWND window)
{
    // A stray WM_QUIT left for a destroyed window must not end the next window's loop.
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [&](const MSG &m) { return m.hwnd == window; }),
                queue.end());
}

}  // namespace win32sdl

BOOL WINAPI PeekMessageA(MSG *msg, HWND window, UINT, UINT, UINT remove)
{
    auto found = findMessage(window);
    if (found == queue.end()) {
        pumpEvents();
        found = findMessage(window);
    }
    if (found == queue.end())
        return FALSE;
    *msg = *found;
    if (remove & PM_REMOVE)
        queue.erase(found);
    return TRUE;
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
    if (queue.empty() && SDL_WasInit(SDL_INIT_VIDEO))
        SDL_WaitEvent(nullptr);
    return TRUE;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seam::enter("PostMessageA", std::to_string(message));
    if (!win32sdl::liveWindow(window))
        return FALSE;
    enqueue(window, message, wParam, lParam);
    return TRUE;
}
